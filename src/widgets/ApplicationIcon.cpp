// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ApplicationIcon.h"

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icon/festoria-%1.png").arg(size), QSize(size, size));
    return icon;
}
