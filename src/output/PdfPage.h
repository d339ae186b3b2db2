// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A PDF's first page as a picture, drawn by poppler with the fonts the PDF carries.

#include <QByteArray>
#include <QImage>

// The first page of the PDF, drawn with smooth text and lines on white paper: exactly
// pixelWidth pixels across, or, when pixelWidth is 0, at dpi dots per inch of the page's real
// size. The picture's dots per metre record the page's real size. Throws AppError when the
// PDF cannot be read or its page cannot be drawn.
QImage drawFirstPdfPage(const QByteArray& pdf, int pixelWidth, int dpi);
