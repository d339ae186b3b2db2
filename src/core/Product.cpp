// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Product.h"

namespace {
QString& title() {
    static QString value = kProductName;
    return value;
}
} // namespace

QString shortenedTitle(const QString& name) {
    QString text = name;
    while (text.size() > 40) {
        const qsizetype lastSpace = text.lastIndexOf(QLatin1Char(' '));
        if (lastSpace < 0)
            break;
        text.truncate(lastSpace);
    }
    return text;
}

void setApplicationTitle() {
    title() = shortenedTitle(kProductName);
}

QString applicationTitle() {
    return title();
}
