// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PageImage.h"
#include "output/PngFile.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "office/Office.h"
#include "output/PdfPage.h"

#include <QBuffer>
#include <QImageWriter>

#include <cmath>
#include <memory>

namespace {
// A page drawn for a resolution is first drawn for US Letter's width.
constexpr double kLetterWidthInches = 8.5;
constexpr double kMetresPerInch = 0.0254;

// The office may round the page to a pixel more or less than asked (poppler too, in
// principle); the picture is brought
// to the exact width, keeping its recorded size.
QImage toPixelWidth(const QImage& picture, int width) {
    if (picture.isNull() || picture.width() == width)
        return picture;
    const int height = qMax(1, qRound(double(picture.height()) * width / picture.width()));
    QImage scaled = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDotsPerMeterX(qRound(double(picture.dotsPerMeterX()) * width / picture.width()));
    scaled.setDotsPerMeterY(qRound(double(picture.dotsPerMeterY()) * height / picture.height()));
    return scaled;
}

QImage drawAtWidth(office::Document& document, int pixelWidth, double logicalScale) {
    return toPixelWidth(document.renderPicture(pixelWidth, logicalScale), pixelWidth);
}

// A page wider than Letter comes out with fewer dots per inch: it is drawn again for its
// real width.
QImage drawAtResolution(office::Document& document, int dpi) {
    const QImage page = drawAtWidth(document, int(std::lround(kLetterWidthInches * dpi)), 1.0);
    if (page.isNull() || page.dotsPerMeterX() <= 0)
        return page;
    const double widthInches = page.width() / (page.dotsPerMeterX() * kMetresPerInch);
    if (widthInches > kLetterWidthInches + 0.01)
        return drawAtWidth(document, int(std::ceil(widthInches * dpi)), 1.0);
    return page;
}

void recordScale(QImage& picture, double logicalScale) {
    picture.setDotsPerMeterX(int(std::lround(picture.dotsPerMeterX() / logicalScale)));
    picture.setDotsPerMeterY(int(std::lround(picture.dotsPerMeterY() / logicalScale)));
}

// Poppler draws where the office's calls run: it may take as long as the office's own
// drawing did.
QImage drawExported(office::Office& office, const QByteArray& pdf, const PageScale& scale) {
    const auto bytes = std::make_shared<const QByteArray>(pdf);
    const auto picture = std::make_shared<QImage>();
    office.runWhereCallsRun([bytes, picture, width = scale.pixelWidth, dpi = scale.dpi] {
        *picture = drawFirstPdfPage(*bytes, width, dpi);
    });
    return scale.pixelWidth > 0 ? toPixelWidth(*picture, scale.pixelWidth) : *picture;
}

} // namespace

QImage drawPage(office::Document& document, const PageScale& scale) {
    return scale.pixelWidth > 0 ? drawAtWidth(document, scale.pixelWidth, scale.logicalScale)
                                : drawAtResolution(document, scale.dpi);
}

QImage drawPage(office::Office& office, const QString& documentPath, const PageScale& scale) {
    // The office's PDF holds the page with its fonts: drawn by poppler, it is the same page
    // as the office's own drawing, in less time.
    const auto folder = scratchFolder(QStringLiteral("picture"));
    const QString pdf = folder->filePath(QStringLiteral("page.pdf"));
    {
        const std::unique_ptr<office::Session> session = office.startSession();
        office::Document& document = session->open(documentPath, true);
        document.exportTo(pdf, office::ExportFormat::Pdf);
        document.close();
        session->quit();
    }
    QImage page = drawExported(office, readPlainFile(pdf), scale);
    if (scale.logicalScale != 1.0)
        recordScale(page, scale.logicalScale);
    return page;
}

QByteArray encodeImage(const QImage& picture, const char* format) {
    // The writers record the picture's dots per metre: PNG in its pHYs chunk, JPEG as the
    // JFIF density in dots per inch.
    if (qstrcmp(format, "png") == 0)
        return pngFile(picture);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(92); // fine print stays crisp
    if (!writer.write(picture))
        throw AppError(
            QStringLiteral("The picture could not be made: %1").arg(writer.errorString()));
    return bytes;
}
