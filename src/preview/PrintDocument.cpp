#include "preview/PrintDocument.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Procedures.h"
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

QImage renderPage(office::Office& office, const QString& documentPath, int dpi) {
    if (!QFileInfo(documentPath).isFile())
        throw AppError(
            QStringLiteral("The invitation document '%1' does not exist.").arg(documentPath));
    const std::unique_ptr<office::Session> session = office.startSession();
    office::Document& document = session->open(documentPath, true);
    QImage page = document.renderPicture(int(std::lround(kLetterWidthInches * dpi)), 1.0);
    // A page wider than Letter comes out with fewer dots per inch: render it again for its
    // real width.
    const double widthInches = page.width() / (page.dotsPerMeterX() * kMetresPerInch);
    if (page.dotsPerMeterX() > 0 && widthInches > kLetterWidthInches + 0.01)
        page = document.renderPicture(int(std::ceil(widthInches * dpi)), 1.0);
    document.closeWithoutSaving();
    session->quit();
    if (page.isNull())
        throw AppError(QStringLiteral("The office rendered an empty page."));
    return page;
}

void printPage(office::Office& office, const QString& documentPath, QPrinter& printer) {
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
        printPage(mOffice, documentPath, printer);
    });
}
