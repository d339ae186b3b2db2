// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PdfPage.h"

#include "core/AppError.h"

#include <poppler-qt6.h>

#include <cmath>

namespace {
constexpr double kPointsPerInch = 72.0;
constexpr double kMetresPerInch = 0.0254;

std::unique_ptr<Poppler::Document> readPdf(const QByteArray& pdf) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(pdf);
    if (!document || document->isLocked() || document->numPages() < 1)
        throw AppError(QStringLiteral("The page's PDF could not be read."));
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return document;
}
} // namespace

QImage drawFirstPdfPage(const QByteArray& pdf, int pixelWidth, int dpi) {
    if (pixelWidth <= 0 && dpi <= 0)
        throw AppError(QStringLiteral("Invalid picture size."));
    const std::unique_ptr<Poppler::Document> document = readPdf(pdf);
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page || page->pageSizeF().isEmpty())
        throw AppError(QStringLiteral("The page's PDF has no page to draw."));
    const QSizeF points = page->pageSizeF();
    // poppler rounds the page's size in pixels to the nearest: at this resolution the
    // page is exactly pixelWidth pixels across.
    const double resolution = pixelWidth > 0 ? pixelWidth * kPointsPerInch / points.width() : dpi;
    QImage picture = page->renderToImage(resolution, resolution);
    if (picture.isNull())
        throw AppError(QStringLiteral("The page's PDF could not be drawn."));
    const double metresPerPoint = kMetresPerInch / kPointsPerInch;
    picture.setDotsPerMeterX(int(std::lround(picture.width() / (points.width() * metresPerPoint))));
    picture.setDotsPerMeterY(
        int(std::lround(picture.height() / (points.height() * metresPerPoint))));
    return picture;
}
