// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/Printout.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "core/ReplaceFile.h"
#include "office/Office.h"
#include "output/Export.h"

#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>

namespace {
// Less room than this on the disk of the printout: the reason the office could not write it.
constexpr quint64 kRoomForAPrintout = 1024 * 1024;

AppError printoutIncomplete(const QString& target) {
    return AppError(QStringLiteral("Cannot print to '%1': the printout could not be written "
                                   "completely (is the disk full?).")
                        .arg(target));
}

bool diskFull(const QString& folder) {
    struct statvfs disk {};
    return ::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 &&
           quint64(disk.f_bavail) * disk.f_frsize < kRoomForAPrintout;
}

// The office's PDF of the document, made in the folder for the printout; what is printed
// is exactly what "Save As" writes as a PDF. An incomplete file (a full disk) is refused.
QString makePrintout(office::Office& office, const QString& documentPath,
                     const QTemporaryDir& folder, const QString& target) {
    if (!QFileInfo(documentPath).isFile())
        throw AppError(
            QStringLiteral("The invitation document '%1' does not exist.").arg(documentPath));
    const QString printout = folder.filePath(QStringLiteral("printout.pdf"));
    try {
        exportDocument(office, documentPath, printout, office::ExportFormat::Pdf);
    } catch (const AppError&) {
        // The office reports a full disk only as a file it could not write.
        if (diskFull(folder.path()))
            throw printoutIncomplete(target);
        throw;
    }
    if (!isCompletePdf(printout))
        throw printoutIncomplete(target);
    return printout;
}
} // namespace

PrintQueue& systemPrintQueue() {
    static CupsPrintQueue queue;
    return queue;
}

void printOnPrinter(office::Office& office, const QString& documentPath, const PrintJob& job,
                    PrintQueue& queue) {
    if (job.printer.isEmpty())
        throw AppError(QStringLiteral("The printer could not be started."));
    const auto folder = scratchFolder(QStringLiteral("print"));
    queue.submit(job, makePrintout(office, documentPath, *folder, job.printer));
}

bool isCompletePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64 || !file.seek(file.size() - 64))
        return false;
    // The end reads "startxref\n<offset>\n%%EOF\n"; the table starts at that offset.
    const QByteArray tail = file.read(64).trimmed();
    const qsizetype at = tail.lastIndexOf("startxref");
    if (!tail.endsWith("%%EOF") || at < 0)
        return false;
    const qsizetype from = at + qsizetype(sizeof "startxref") - 1;
    bool number = false;
    const qint64 offset = tail.mid(from, tail.size() - 5 - from).trimmed().toLongLong(&number);
    return number && offset > 0 && offset < file.size() && file.seek(offset) &&
           file.read(4) == "xref";
}

void printPageToFile(office::Office& office, const QString& documentPath, const QString& target) {
    const ReplaceWhat what{QStringLiteral("Cannot print to")};
    replacedFile(target, what); // refused before the office works or anything opens it
    const auto folder = scratchFolder(QStringLiteral("print"));
    copyFileReplacing(makePrintout(office, documentPath, *folder, target), target, what);
}
