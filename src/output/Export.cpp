// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/Export.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "core/ReplaceFile.h"
#include "office/Office.h"
#include "output/PageImage.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <memory>

namespace {
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

void saveImageReplacing(office::Office& office, const QString& source, const QString& destination,
                        SaveFormat format) {
    requireSource(source);
    replacedFile(destination); // refused before the office works
    const QImage page = drawPage(office, source, PageScale::resolution(kImageDpi));
    const QByteArray bytes = encodeImage(page, format == SaveFormat::Png ? "png" : "jpeg");
    writeFileReplacing(bytes, destination);
}

void writeSaveTarget(office::Office& office, const QString& documentPath,
                     const SaveTarget& target) {
    switch (target.format) {
    case SaveFormat::Doc:
        copyFileReplacing(documentPath, target.path);
        return;
    case SaveFormat::Png:
    case SaveFormat::Jpeg:
        saveImageReplacing(office, documentPath, target.path, target.format);
        return;
    default:
        exportFileReplacing(office, documentPath, target.path, target.format);
    }
}
