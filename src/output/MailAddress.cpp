// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/MailAddress.h"

#include <QRegularExpression>

// The local part: runs of letters (any script, with their marks), digits, '_', '+' and '-',
// joined by single dots or apostrophes ("o'brien"). The domain: labels of letters, marks and
// digits, hyphens inside, at least two of them. Before the address there may be nothing that
// an address could hold, after it no further label or '@': then the match is the whole of
// what the user wrote.
QString firstMailAddress(const QString& text) {
    static const QRegularExpression address(
        QStringLiteral("(?<![\\p{L}\\p{M}\\p{N}_+\\-.'!#$%&*/=?^`{|}~@])"
                       "[\\p{L}\\p{M}\\p{N}_+-]+(?:['.][\\p{L}\\p{M}\\p{N}_+-]+)*"
                       "@[\\p{L}\\p{M}\\p{N}](?:[\\p{L}\\p{M}\\p{N}-]*[\\p{L}\\p{M}\\p{N}])?"
                       "(?:\\.[\\p{L}\\p{M}\\p{N}](?:[\\p{L}\\p{M}\\p{N}-]*[\\p{L}\\p{M}\\p{N}])?)+"
                       "(?![\\p{L}\\p{M}\\p{N}_\\-@]|\\.[\\p{L}\\p{M}\\p{N}])"));
    return address.match(text).captured();
}
