// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Product.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

TEST(ApplicationTitle, ShortensByWholeWordsToFortyCharacters) {
    const QString forty = QStringLiteral("abcdefghij abcdefghij abcdefghij abcdefg");
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(shortenedTitle(forty), forty);
    EXPECT_EQ(shortenedTitle(forty + QStringLiteral("h")),
              QStringLiteral("abcdefghij abcdefghij abcdefghij"));
    EXPECT_EQ(shortenedTitle(QStringLiteral("a b ") + QString(40, QLatin1Char('x'))),
              QStringLiteral("a b"));
    const QString noSpace(41, QLatin1Char('y'));
    EXPECT_EQ(shortenedTitle(noSpace), noSpace);
    setApplicationTitle();
    EXPECT_EQ(applicationTitle(), QStringLiteral("Festoria"));
}
