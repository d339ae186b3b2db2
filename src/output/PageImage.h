// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Pictures of an invitation's page: the preview's picture, as the office draws it, and the
// sharper picture a zoom needs and the PNG and JPEG files a save writes, drawn from the
// office's PDF of the page.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace office {
class Document;
class Office;
} // namespace office

// How large a page is drawn, and the size its picture records (its dots per metre): the
// page's real size times logicalScale.
struct PageScale {
    // Pixels across; 0 means: as many as dpi dots per inch of the page's real width.
    int pixelWidth = 0;
    int dpi = 0;
    double logicalScale = 1.0;

    static PageScale width(int pixels, double logicalScale = 1.0) {
        return {pixels, 0, logicalScale};
    }
    static PageScale resolution(int dotsPerInch) { return {0, dotsPerInch, 1.0}; }
};

// The document's first page, exactly scale.pixelWidth pixels across (or at scale.dpi for
// its real width, however wide the page is). Null when the office drew nothing. Throws
// AppError when the office fails.
QImage drawPage(office::Document& document, const PageScale& scale);

// The same page of a document file, opened read-only in a session of its own and exported
// as a PDF, which poppler draws where the office's calls run. Throws AppError when the
// office fails or the PDF cannot be drawn.
QImage drawPage(office::Office& office, const QString& documentPath, const PageScale& scale);

// The picture as a PNG or JPEG file's bytes ("png", "jpeg"), recording its resolution.
// Throws AppError when it cannot be encoded.
QByteArray encodeImage(const QImage& picture, const char* format);
