// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The system clipboard as the program uses it: one marked picture in, one picture out. The
// request hands its page picture over it; the preview window copies its picture to it. Tests
// give the windows a scripted one. (Header only: implementations bring Qt's GUI module.)

#include <QByteArray>
#include <QImage>

#include <optional>

// What one clipboard read found.
struct ClipboardPicture {
    QImage picture;  // null when the clipboard holds no picture
    QByteArray mark; // the mark the program put beside its own picture; empty otherwise
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with the picture, marked so the program can tell
    // its own picture from anybody else's (no mark: a plain picture). Throws AppError when
    // the clipboard refuses.
    virtual void putPicture(const QImage& picture, const QByteArray& mark) = 0;
    // One read of whichever picture the clipboard offers. Empty when the clipboard cannot be
    // read at this moment.
    virtual std::optional<ClipboardPicture> read() = 0;
};
