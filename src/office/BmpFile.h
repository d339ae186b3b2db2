// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Uncompressed BMP files, read and written in one pass over their rows: the office draws a
// page as one, and the preview's picture is handed over as one (Qt's reader and writer took
// 4 to 7 ms each for a page, several times a request). What the one-pass reader does not
// take (palettes, compression, bit fields, old headers) Qt's reader reads.

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace office {

// The picture's size as the file's header gives it; invalid when the bytes are no BMP.
QSize bmpSize(const QByteArray& bytes);

// The picture (32-bit, its resolution fields as its dots per metre), or its top left part of
// the size `part` when that is given and no larger; null when the bytes hold no picture.
QImage readBmp(const QByteArray& bytes, QSize part = QSize());

// The picture as a 24-bit BMP file, rows bottom-up, with its dots per metre.
QByteArray bmpBytes(const QImage& picture);

} // namespace office
