// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/FontCoverage.h"

#include <gtest/gtest.h>

// The fonts the program installs draw the world's common scripts and emoji; a character of
// the private use area is drawn by no font, and only it is named.
TEST(FontCoverage, NamesOnlyCharactersNoInstalledFontHas) {
    const char32_t privateUse = 0x10fffd;
    const QString unknown = QString::fromUcs4(&privateUse, 1);
    const struct {
        QString text;
        QList<char32_t> missing;
    } cases[] = {
        {QStringLiteral("Lobster Eating Party, Haverhill MA"), {}},
        {QStringLiteral("中文派对 日本語です 한국어"), {}},
        {QStringLiteral("Привет Ελληνικά שלום مرحبا สวัสดี नमस्ते"), {}},
        {QStringLiteral("🎉 😀 👨‍👩‍👧 ❤️"), {}},
        {QStringLiteral("a") + unknown + QStringLiteral(" b ") + unknown, {privateUse}},
        // Selectors, tags, a soft hyphen and a line separator are never drawn on their own.
        {QString::fromUcs4(U"a\U000E0100b\U000E0001c\u00ADd\u2028e\u200Bf"), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(charactersWithoutFont(c.text), c.missing) << c.text.toStdString();
}

TEST(FontCoverage, OneReportNamesEachFieldWithMissingCharacters) {
    const char32_t privateUse = 0x10fffd;
    const QString unknown = QString::fromUcs4(&privateUse, 1);
    EXPECT_TRUE(
        missingFontReport({{QStringLiteral("What To Bring"), QStringLiteral("中文 🎉")}}).isEmpty());
    const QString report =
        missingFontReport({{QStringLiteral("Name of Event"), QStringLiteral("Party")},
                           {QStringLiteral("What To Bring"), QStringLiteral("cake ") + unknown}});
    EXPECT_EQ(report.count(QStringLiteral("No installed font can draw")), 1);
    EXPECT_TRUE(report.startsWith(QStringLiteral("No installed font can draw '") + unknown +
                                  QStringLiteral("' in 'What To Bring'.")));
    EXPECT_TRUE(report.contains(QStringLiteral("Install fonts-noto-core")));
    // Three of them at most are named.
    QString four;
    for (char32_t c = 0x10fff0; c < 0x10fff4; ++c)
        four += QString::fromUcs4(&c, 1);
    const QString firstLine =
        missingFontReport({{QStringLiteral("RSVP To"), four}}).section(u'\n', 0, 0);
    EXPECT_EQ(firstLine.count(u'\''), 3 * 2 + 2) << firstLine.toStdString();
}
