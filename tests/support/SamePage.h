// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Two pictures of one page compared as a reader would: how far their pixels are apart on
// average, and where one shows ink and the other paper.

#include <QImage>

#include <algorithm>
#include <cstdlib>

// The mean over the pixels of the first picture's size of the red, green and blue steps
// between the two (0 for the same pixels, 765 for black against white everywhere).
inline double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return double(sum) / (double(x.width()) * x.height());
}

// The cells of a tenth-size copy where one picture of the page shows ink, the other paper.
inline int inkOnlyInOne(const QImage& a, const QImage& b) {
    const QImage x = a.scaled(a.size() / 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.scaled(x.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int cells = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const int g = qGray(x.pixel(column, row)), h = qGray(y.pixel(column, row));
            cells += std::min(g, h) < 160 && std::max(g, h) > 235;
        }
    return cells;
}
