// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/FontCoverage.h"

#include <QScopeGuard>
#include <fontconfig/fontconfig.h>
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
        {QStringLiteral("🎉 😀 👨‍👩‍👧 ❤"), {}}, // the selectors: below
        {QStringLiteral("a") + unknown + QStringLiteral(" b ") + unknown, {privateUse}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(charactersWithoutFont(c.text), c.missing) << c.text.toStdString();
}

// Selectors, tags, a soft hyphen, separators and format characters are never drawn on their
// own, so they are never named, even where no font has them: here no font is installed at
// all, and only the snowman is named.
TEST(FontCoverage, CharactersNeverDrawnOnTheirOwnAreNeverNamed) {
    FcConfig* const installed = FcConfigReference(nullptr);
    FcConfig* const noFonts = FcConfigCreate();
    ASSERT_TRUE(FcConfigSetCurrent(noFonts));
    const auto restore = qScopeGuard([&] {
        FcConfigSetCurrent(installed);
        FcConfigDestroy(installed);
        FcConfigDestroy(noFonts);
    });
    const QString text = QString::fromUcs4(U"\u2603\uFE00\uFE0F\U000E0100\U000E01EF\U000E0001"
                                           U"\U000E007F\u00AD\u00A0\u2028\u200B\u0085");
    EXPECT_EQ(charactersWithoutFont(text), QList<char32_t>{0x2603});
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
