// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>

// The picture as a PNG file's bytes: 8-bit RGB, its dots per metre in the pHYs chunk, rows
// unfiltered and compressed at zlib's fastest level. A drawn page compresses about as well
// so as with every filter tried on every row, in a third of the time. Throws AppError.
QByteArray pngFile(const QImage& picture);
