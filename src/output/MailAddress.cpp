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
    static const QRegularExpression address = [] {
        const QString w = QStringLiteral("\\p{L}\\p{M}\\p{N}"); // a letter, mark or digit
        const QString label = QStringLiteral("[%1](?:[%1-]*[%1])?").arg(w);
        return QRegularExpression(QStringLiteral("(?<![%1_+\\-.'!#$%&*/=?^`{|}~@])").arg(w) +
                                  QStringLiteral("[%1_+-]+(?:['.][%1_+-]+)*").arg(w) +
                                  QLatin1Char('@') + label +
                                  QStringLiteral("(?:\\.%1)+").arg(label) +
                                  QStringLiteral("(?![%1_\\-@]|\\.[%1])").arg(w));
    }();
    return address.match(text).captured();
}
