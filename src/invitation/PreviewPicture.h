// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The preview picture of a saved invitation: the office renders the document's first page,
// the picture goes over the system clipboard, and is written to a picture file of its own in
// the temporary folder, from where the preview window loads it.

#include "core/Clipboard.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

class Prompts;
namespace office {
class Office;
}

// The picture's pixel width: twice the density of its logical size, so that zoomed and
// high-DPI views stay sharp (816 x 1056 pixels for a US Letter page).
inline constexpr int kPreviewPixelWidth = 816;
// The picture's logical size is half the page's physical size (6120 x 7920 twips for US
// Letter), so that at 100 % the whole page width fits the preview.
inline constexpr double kPreviewLogicalScale = 0.5;

// The picture's name in the temporary folder as earlier versions wrote it (a copy left there
// is removed); each picture is written under a private name of this stem.
inline const QString kPreviewPictureName = QStringLiteral("temp.bmp");

// Reads the clipboard up to 1000 times back to back, until one read succeeds. Empty when
// every read failed. Never reports.
std::optional<ClipboardPicture> clipboardPicture(Clipboard& clipboard);

// Opens the saved document in a new office session, puts the picture of its first page on
// the clipboard, takes that same picture back and writes it to a new private file in the
// temporary folder ("temp-<random>.bmp", which no other request shares), then closes the
// document without saving and ends the session. Each failing step is reported (as a step of
// the main window's picture procedure) and the next step runs; it always returns normally.
// Only a picture that this call put on the clipboard is written, and a "temp.bmp" an earlier
// run left is removed. Returns the path of the picture it wrote, or an empty text when it
// wrote none, so that only this picture is ever shown; the caller deletes it.
QString writePreviewPicture(const QString& inFile, office::Office& office, Clipboard& clipboard,
                            Prompts& prompts);

// The picture as its file holds it: a BMP whose resolution fields record the logical size.
QByteArray encodePreviewPicture(const QImage& picture);

// Loads a picture file, keeping the resolution it records (the preview's logical size
// follows it). The picture writePreviewPicture() wrote last comes from memory, once, while
// its file is unchanged. Only a plain file is read, never through a link and never blocking
// on a FIFO. Throws AppError when there is no path (no picture was made) or the file cannot
// be read as a picture.
QImage loadPicture(const QString& path);
