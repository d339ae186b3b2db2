#include "preview/PrintDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Prompts.h"
#include "office/Office.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// The page is rendered for its width; a US Letter page is 8.5 inches wide.
constexpr double kLetterWidthInches = 8.5;
constexpr double kMetresPerInch = 0.0254;
} // namespace

QImage renderPage(office::Office& office, const QString& wordFile, int dpi) {
    if (!QFileInfo(wordFile).isFile())
        throw AppError(
            QStringLiteral("The invitation document '%1' does not exist.").arg(wordFile));
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(wordFile, true);
    QImage page = document.renderPicture(int(std::lround(kLetterWidthInches * dpi)), 1.0);
    // A page wider than Letter comes out with fewer dots per inch: render it again for its
    // real width.
    const double widthInches = page.width() / (page.dotsPerMeterX() * kMetresPerInch);
    if (page.dotsPerMeterX() > 0 && widthInches > kLetterWidthInches + 0.01)
        page = document.renderPicture(int(std::ceil(widthInches * dpi)), 1.0);
    document.close();
    session->quit();
    if (page.isNull())
        throw AppError(QStringLiteral("The office rendered an empty page."));
    return page;
}

void printPage(office::Office& office, const QString& wordFile, QPrinter& printer) {
    const QImage page = renderPage(office, wordFile, kPrintDpi);

    // The page is drawn on the whole sheet from its top left corner, at its real size.
    printer.setFullPage(true);
    printer.setDocName(QFileInfo(wordFile).completeBaseName());
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

void PrintDocument::mnuPrint_Click(const QString& wordFile) {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.mnuPrint_Click "));
    // The paper the invitation is made for; the dialog may change it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    bool accepted = false;
    trap(100, [&] { accepted = mPrompts.setUpPrinter(printer); });
    if (!accepted)
        return;
    // One statement: after a failure nothing else is tried, so the user sees one report.
    trap(102, [&] {
        if (mSetHourglass)
            mSetHourglass(true);
        const auto restore = qScopeGuard([this] {
            if (mSetHourglass)
                mSetHourglass(false);
        });
        printPage(mOffice, wordFile, printer);
    });
}
