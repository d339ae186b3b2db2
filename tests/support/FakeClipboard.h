// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A clipboard of the tests' own, so tests never touch the desktop's; reads and puts can be
// made to fail.

#include "core/AppError.h"
#include "invitation/PreviewPicture.h"

#include <optional>

class FakeClipboard : public Clipboard {
public:
    std::optional<ClipboardPicture> content;
    int failingReads = 0; // the next reads that fail
    int reads = 0;
    bool refusePut = false;

    void putPicture(const QImage& picture, const QByteArray& mark) override {
        if (refusePut)
            throw AppError(QStringLiteral("Clipboard refused"));
        content = ClipboardPicture{picture, mark};
    }
    std::optional<ClipboardPicture> read() override {
        ++reads;
        if (failingReads > 0) {
            --failingReads;
            return std::nullopt;
        }
        return content.value_or(ClipboardPicture{});
    }
};
