#include "preview/SaveDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "office/Office.h"
#include "preview/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QScopeGuard>
#include <QStringList>

#include <memory>
#include <utility>

namespace {
const QString kWordFilter = QStringLiteral("Word Files (*.doc)");

struct FormatName {
    SaveFormat format;
    QString extension;
    QString filter;
};

const QList<FormatName>& formats() {
    static const QList<FormatName> list{
        {SaveFormat::Doc, QStringLiteral("doc"), kWordFilter},
        {SaveFormat::Pdf, QStringLiteral("pdf"), QStringLiteral("PDF Files (*.pdf)")},
        {SaveFormat::Docx, QStringLiteral("docx"), QStringLiteral("Word 2007-365 Files (*.docx)")},
        {SaveFormat::Odt, QStringLiteral("odt"), QStringLiteral("OpenDocument Text Files (*.odt)")},
    };
    return list;
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
        if (extension.compare(f.extension, Qt::CaseInsensitive) == 0)
            return {typedName, f.format};
    for (const FormatName& f : formats())
        if (f.filter == selectedFilter && f.format != SaveFormat::Doc)
            return {typedName + u'.' + f.extension, f.format};
    return {typedName, SaveFormat::Doc};
}

void exportFileReplacing(office::Office& office, const QString& source, const QString& destination,
                         SaveFormat format) {
    if (!QFileInfo(source).isFile())
        throw AppError(QStringLiteral("Cannot read '%1': the file does not exist").arg(source));
    replacedFile(destination); // a target that cannot be written is refused before the office works
    // The office writes into a private folder: an office that dies halfway leaves its own
    // temporary files there, never in the user's folder. The finished file then replaces
    // the target as a copy does.
    const auto folder = scratchFolder(QStringLiteral("export"));
    const QString exported = folder->filePath(QStringLiteral("invitation"));
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(source, true);
    document.exportTo(exported, exportFormat(format));
    document.close();
    session->quit();
    copyFileReplacing(exported, destination);
}

SaveTarget SaveDocument::chooseTarget(bool& chosen) {
    QString selectedFilter = kWordFilter;
    const QString name =
        mPrompts.saveFileName(QStringLiteral("Save File"), saveFilters(), QString(), selectedFilter);
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
                            applicationTitle(), Prompts::Icon::None, Prompts::Buttons::YesNo) ==
           Prompts::Answer::Yes;
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
    exportFileReplacing(mOffice, documentPath, target.path, target.format);
}
