#include "preview/PrintDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Prompts.h"
#include "office/Office.h"
#include "preview/ReplaceFile.h"
#include "preview/SaveDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
constexpr double kMetresPerInch = 0.0254;
} // namespace

void printPage(office::Office& office, const QString& documentPath, QPrinter& printer) {
    if (!QFileInfo(documentPath).isFile())
        throw AppError(
            QStringLiteral("The invitation document '%1' does not exist.").arg(documentPath));
    const QImage page = renderPage(office, documentPath, kPrintDpi);

    // The page is drawn on the whole sheet from its top left corner, at its real size.
    printer.setFullPage(true);
    printer.setDocName(QFileInfo(documentPath).completeBaseName());
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(QStringLiteral("The printer could not be started."));
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double deviceDotsPerMetreX = printer.resolution() / kMetresPerInch;
    const double deviceDotsPerMetreY = deviceDotsPerMetreX;
    QSizeF size(page.width() / double(page.dotsPerMeterX()) * deviceDotsPerMetreX,
                page.height() / double(page.dotsPerMeterY()) * deviceDotsPerMetreY);
    const double shrink =
        std::min({1.0, paper.width() / size.width(), paper.height() / size.height()});
    size *= shrink;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(paper.topLeft(), size), page);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw AppError(QStringLiteral("The printer reported an error; nothing was printed."));
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

void printPageToFile(office::Office& office, const QString& documentPath, QPrinter& printer) {
    const QString target = printer.outputFileName();
    const ReplaceWhat what{QStringLiteral("Cannot print to")};
    replacedFile(target, what); // refused before the office works or anything opens it
    const auto folder = scratchFolder(QStringLiteral("print"));
    const QString written = folder->filePath(QStringLiteral("printout.pdf"));
    printer.setOutputFileName(written);
    const auto restore = qScopeGuard([&] { printer.setOutputFileName(target); });
    printPage(office, documentPath, printer);
    // The printer reports no failed write: a full disk shows as a file that ends early.
    if (!isCompletePdf(written))
        throw AppError(QStringLiteral("Cannot print to '%1': the printout could not be written "
                                      "completely (is the disk full?).")
                           .arg(target));
    copyFileReplacing(written, target, what);
}

void PrintDocument::print(const QString& documentPath) {
    // One step: after a failure nothing else is tried, so the user sees one report. The
    // dialog cannot fail.
    enum class Step { Print = 102 };
    StepTrap<Step> trap(mPrompts, procedures::print);
    // The paper the invitation is made for; the dialog may change it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    if (!mPrompts.setUpPrinter(printer))
        return;
    trap(Step::Print, [&] {
        if (mSetHourglass)
            mSetHourglass(true);
        const auto restore = qScopeGuard([this] {
            if (mSetHourglass)
                mSetHourglass(false);
        });
        if (printer.outputFileName().isEmpty())
            printPage(mOffice, documentPath, printer);
        else
            printPageToFile(mOffice, documentPath, printer);
    });
}
