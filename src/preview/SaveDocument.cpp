// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/SaveDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "office/Office.h"
#include "preview/ReplaceFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QList>
#include <QScopeGuard>
#include <QStringList>

#include <cmath>
#include <memory>
#include <utility>

namespace {
// The page is rendered for its width; a US Letter page is 8.5 inches wide.
constexpr double kLetterWidthInches = 8.5;
constexpr double kMetresPerInch = 0.0254;

const QString kWordFilter = QStringLiteral("Word Files (*.doc)");

struct FormatName {
    SaveFormat format;
    // The first is the one added to a bare name.
    QStringList extensions;
    QString filter;
};

const QList<FormatName>& formats() {
    static const QList<FormatName> list{
        {SaveFormat::Doc, {QStringLiteral("doc")}, kWordFilter},
        {SaveFormat::Pdf, {QStringLiteral("pdf")}, QStringLiteral("PDF Files (*.pdf)")},
        {SaveFormat::Docx,
         {QStringLiteral("docx")},
         QStringLiteral("Word 2007-365 Files (*.docx)")},
        {SaveFormat::Odt,
         {QStringLiteral("odt")},
         QStringLiteral("OpenDocument Text Files (*.odt)")},
        {SaveFormat::Png, {QStringLiteral("png")}, QStringLiteral("PNG Image (*.png)")},
        {SaveFormat::Jpeg,
         {QStringLiteral("jpg"), QStringLiteral("jpeg")},
         QStringLiteral("JPEG Image (*.jpg)")},
    };
    return list;
}

void requireSource(const QString& source) {
    if (!QFileInfo(source).isFile())
        throw AppError(QStringLiteral("Cannot read '%1': the file does not exist").arg(source));
}

office::ExportFormat exportFormat(SaveFormat format) {
    switch (format) {
    case SaveFormat::Docx:
        return office::ExportFormat::Docx;
    case SaveFormat::Odt:
        return office::ExportFormat::Odt;
    default:
        return office::ExportFormat::Pdf;
    }
}
} // namespace

QString saveFilters() {
    QStringList filters;
    for (const FormatName& f : formats())
        filters << f.filter;
    return filters.join(QStringLiteral(";;"));
}

QString saveFilter(SaveFormat format) {
    return formats().at(int(format)).filter;
}

SaveTarget saveTarget(const QString& typedName, const QString& selectedFilter) {
    const QString fileName = QFileInfo(typedName).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot > 0 ? fileName.mid(dot + 1) : QString();
    for (const FormatName& f : formats())
        if (!extension.isEmpty() && f.extensions.contains(extension, Qt::CaseInsensitive))
            return {typedName, f.format};
    for (const FormatName& f : formats())
        if (f.filter == selectedFilter && f.format != SaveFormat::Doc)
            return {typedName + u'.' + f.extensions.first(), f.format};
    return {typedName, SaveFormat::Doc};
}

void exportDocument(office::Office& office, const QString& source, const QString& path,
                    office::ExportFormat format) {
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(source, true);
    document.exportTo(path, format);
    document.close();
    session->quit();
}

void exportFileReplacing(office::Office& office, const QString& source, const QString& destination,
                         SaveFormat format) {
    requireSource(source);
    replacedFile(destination); // a target that cannot be written is refused before the office works
    // The office writes into a private folder: an office that dies halfway leaves its own
    // temporary files there, never in the user's folder. The finished file then replaces
    // the target as a copy does.
    const auto folder = scratchFolder(QStringLiteral("export"));
    const QString exported = folder->filePath(QStringLiteral("invitation"));
    exportDocument(office, source, exported, exportFormat(format));
    copyFileReplacing(exported, destination);
}

QImage drawFirstPage(office::Office& office, const QString& documentPath, int pixelWidth) {
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(documentPath, true);
    const QImage page = document.renderPicture(pixelWidth, 1.0);
    document.close();
    session->quit();
    if (page.isNull())
        throw AppError(QStringLiteral("The office rendered an empty page."));
    return page;
}

QImage renderPage(office::Office& office, const QString& documentPath, int dpi) {
    const QImage page =
        drawFirstPage(office, documentPath, int(std::lround(kLetterWidthInches * dpi)));
    // A page wider than Letter comes out with fewer dots per inch: draw it again for its
    // real width.
    const double widthInches = page.width() / (page.dotsPerMeterX() * kMetresPerInch);
    if (page.dotsPerMeterX() > 0 && widthInches > kLetterWidthInches + 0.01)
        return drawFirstPage(office, documentPath, int(std::ceil(widthInches * dpi)));
    return page;
}

void saveImageReplacing(office::Office& office, const QString& source, const QString& destination,
                        SaveFormat format) {
    requireSource(source);
    replacedFile(destination); // refused before the office works
    const QImage page = renderPage(office, source, kImageDpi);
    // The writers record the picture's dots per metre: PNG in its pHYs chunk, JPEG as the
    // JFIF density in dots per inch.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == SaveFormat::Png ? "png" : "jpeg");
    // JPEG: fine print stays crisp. PNG: zlib's fastest level (Qt's quality 80), which
    // writes the page in two thirds of the default level's time for a quarter more bytes.
    writer.setQuality(format == SaveFormat::Png ? 80 : 92);
    if (!writer.write(page))
        throw AppError(
            QStringLiteral("The picture could not be made: %1").arg(writer.errorString()));
    writeFileReplacing(bytes, destination);
}

SaveTarget SaveDocument::chooseTarget(bool& chosen) {
    QString selectedFilter = kWordFilter;
    const QString name = mPrompts.saveFileName(QStringLiteral("Save File"), saveFilters(),
                                               QString(), selectedFilter);
    chosen = !name.isEmpty();
    return saveTarget(name, selectedFilter);
}

bool SaveDocument::replaceAllowed(const SaveTarget& target) {
    // The old file is not deleted here: the new one replaces it in one step once it is
    // complete, so a failed save cannot lose it.
    if (!fileExists(target.path))
        return true;
    return mPrompts.message(QStringLiteral("Are you sure you wish to overwrite ") + target.path +
                                QStringLiteral(" ?"),
                            applicationTitle(), Prompts::Icon::None,
                            Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

void SaveDocument::saveAs(const QString& documentPath) {
    // Only writing can fail; the dialogs and the file test cannot.
    enum class Step { Write = 130 };
    StepTrap<Step> trap(mPrompts, procedures::saveAs);
    bool chosen = false;
    const SaveTarget target = chooseTarget(chosen);
    // A cancelled dialog, or No to the question, writes nothing and still says "Done.";
    // after a failed save the error report has been shown, and "Done." would claim otherwise.
    bool written = true;
    if (chosen && replaceAllowed(target))
        written = trap(Step::Write, [&] { write(documentPath, target); });
    if (written)
        mPrompts.message(QStringLiteral("Done."), applicationTitle(), Prompts::Icon::None,
                         Prompts::Buttons::Ok);
}

void SaveDocument::write(const QString& documentPath, const SaveTarget& target) {
    if (target.format == SaveFormat::Doc) {
        copyFileReplacing(documentPath, target.path);
        return;
    }
    if (mSetHourglass)
        mSetHourglass(true);
    const auto restore = qScopeGuard([this] {
        if (mSetHourglass)
            mSetHourglass(false);
    });
    if (target.format == SaveFormat::Png || target.format == SaveFormat::Jpeg)
        saveImageReplacing(mOffice, documentPath, target.path, target.format);
    else
        exportFileReplacing(mOffice, documentPath, target.path, target.format);
}
