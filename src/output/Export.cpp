// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/Export.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "core/ReplaceFile.h"
#include "office/Office.h"
#include "output/CalendarEvent.h"
#include "output/PageImage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTimeZone>

#include <memory>

namespace {
struct FormatName {
    SaveFormat format;
    // The first is the one added to a bare name.
    QStringList extensions;
    const char* filter; // translated where it is shown
};

const QList<FormatName>& formats() {
    static const QList<FormatName> list{
        {SaveFormat::Doc,
         {QStringLiteral("doc")},
         QT_TRANSLATE_NOOP("Export", "Word Files (*.doc)")},
        {SaveFormat::Pdf,
         {QStringLiteral("pdf")},
         QT_TRANSLATE_NOOP("Export", "PDF Files (*.pdf)")},
        {SaveFormat::Docx,
         {QStringLiteral("docx")},
         QT_TRANSLATE_NOOP("Export", "Word 2007-365 Files (*.docx)")},
        {SaveFormat::Odt,
         {QStringLiteral("odt")},
         QT_TRANSLATE_NOOP("Export", "OpenDocument Text Files (*.odt)")},
        {SaveFormat::Png,
         {QStringLiteral("png")},
         QT_TRANSLATE_NOOP("Export", "PNG Image (*.png)")},
        {SaveFormat::Jpeg,
         {QStringLiteral("jpg"), QStringLiteral("jpeg")},
         QT_TRANSLATE_NOOP("Export", "JPEG Image (*.jpg)")},
        {SaveFormat::Ics,
         {QStringLiteral("ics")},
         QT_TRANSLATE_NOOP("Export", "Calendar Event (*.ics)")},
    };
    return list;
}

QString filterText(const FormatName& format) {
    return QCoreApplication::translate("Export", format.filter);
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
        filters << filterText(f);
    return filters.join(QStringLiteral(";;"));
}

QString saveFilter(SaveFormat format) {
    return filterText(formats().at(int(format)));
}

SaveTarget saveTarget(const QString& typedName, const QString& selectedFilter) {
    const QString fileName = QFileInfo(typedName).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot > 0 ? fileName.mid(dot + 1) : QString();
    for (const FormatName& f : formats())
        if (!extension.isEmpty() && f.extensions.contains(extension, Qt::CaseInsensitive))
            return {typedName, f.format};
    for (const FormatName& f : formats())
        if (filterText(f) == selectedFilter && f.format != SaveFormat::Doc)
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
                     const EventDetails& details, const SaveTarget& target) {
    switch (target.format) {
    case SaveFormat::Doc:
        copyFileReplacing(documentPath, target.path);
        return;
    case SaveFormat::Ics:
        writeCalendarEventReplacing(details, QTimeZone::systemTimeZoneId(), target.path);
        return;
    case SaveFormat::Png:
    case SaveFormat::Jpeg:
        saveImageReplacing(office, documentPath, target.path, target.format);
        return;
    default:
        exportFileReplacing(office, documentPath, target.path, target.format);
    }
}
