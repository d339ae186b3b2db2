// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Clipboard.h"

// The clipboard of the running QGuiApplication. A marked picture carries, beside the image,
// "<mark> <dots per metre x> <dots per metre y>", so the program finds its own picture and
// its logical size again even if the image data lost the resolution; a picture without a
// mark goes on the clipboard plain.
class QtClipboard : public Clipboard {
public:
    void putPicture(const QImage& picture, const QByteArray& mark) override;
    std::optional<ClipboardPicture> read() override;
};
