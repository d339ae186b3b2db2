// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GeneralDate.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <gtest/gtest.h>

#include <ctime>

namespace {
const char* const kLocales[] = {"en_US", "en_GB", "de_DE", "fr_FR", "ja_JP", "ar_EG"};
}

TEST(GeneralDate, EveryValueReadsBackExactlyInEveryLocale) {
    const QDateTime values[] = {
        QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC),
        QDateTime(QDate(1899, 12, 31), QTime(23, 59, 59), Qt::UTC),
        QDateTime(QDate(1969, 7, 20), QTime(20, 17, 40), Qt::UTC),
        QDateTime(QDate(2024, 2, 29), QTime(12, 0, 1), Qt::UTC),
        QDateTime(QDate(2100, 3, 1), QTime(0, 0, 1), Qt::UTC),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC),
    };
    for (const char* name : kLocales) {
        const QLocale locale{QString::fromLatin1(name)};
        for (const QDateTime& value : values) {
            const QString text = generalDateText(value, locale);
            const auto back = parseGeneralDate(text, locale);
            ASSERT_TRUE(back.has_value()) << name << " " << text.toStdString();
            EXPECT_EQ(*back, value) << name << " " << text.toStdString();
        }
    }
}

TEST(GeneralDate, MidnightIsTheDateAloneAndTheYearHasFourDigits) {
    const QLocale us(QStringLiteral("en_US"));
    EXPECT_EQ(generalDateText(QDateTime(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC), us),
              "8/21/2021");
    EXPECT_EQ(generalDateText(QDateTime(QDate(2021, 8, 21), QTime(19, 30), Qt::UTC), us),
              "8/21/2021 7:30:00 PM");
    const QLocale de(QStringLiteral("de_DE"));
    EXPECT_EQ(generalDateText(QDateTime(QDate(1850, 3, 4), QTime(7, 5, 9), Qt::UTC), de),
              "04.03.1850 07:05:09");
    // Spaces inside the date as well as before the time.
    const QLocale hu(QStringLiteral("hu_HU"));
    EXPECT_EQ(generalDateText(QDateTime(QDate(2021, 8, 21), QTime(19, 30, 5), Qt::UTC), hu),
              "2021. 08. 21. 19:30:05");
}

TEST(GeneralDate, TextThatIsNoDateIsRefused) {
    const QLocale us(QStringLiteral("en_US"));
    for (const char* text : {"", "tomorrow", "13/45/2020", "2021-13-01", "8/21/2021 25:00:00 PM"})
        EXPECT_FALSE(parseGeneralDate(QString::fromLatin1(text), us).has_value()) << text;
}

// A value stored under another regional format (en_US, or another common short form) reads
// back whatever the regional format is now.
TEST(GeneralDate, StoredValuesReadBackUnderAnyLocale) {
    const auto restore = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
    const QLocale us(QStringLiteral("en_US"));
    const QDateTime midnight(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC);
    const QDateTime evening = midnight.addSecs(19 * 3600 + 30 * 60 + 5);
    const std::pair<QString, QDateTime> stored[] = {{generalDateText(midnight, us), midnight},
                                                    {generalDateText(evening, us), evening},
                                                    {"8/21/2021 7:30 PM", evening.addSecs(-5)},
                                                    {"21/8/2021 19:30:05", evening},
                                                    // as earlier versions wrote it in Spanish
                                                    {"21/8/2021 19:30:05 ( )", evening},
                                                    {"21.08.2021 19:30", evening.addSecs(-5)},
                                                    {"2021-08-21 07:30:05 PM", evening},
                                                    {"2021-8-21", midnight},
                                                    // as newer locale data writes it
                                                    {"8/21/2021 7:30:05\u202FPM", evening},
                                                    {"8/21/2021 7:30:05\u00A0PM", evening}};
    for (const char* name : {"en_US", "en_GB", "de_DE", "tr_TR", "ar_EG", "ja_JP", "C"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        for (const auto& [text, value] : stored)
            EXPECT_EQ(parseGeneralDate(text), value) << name << " " << text.toStdString();
        EXPECT_FALSE(parseGeneralDate(QStringLiteral("21st of August")).has_value()) << name;
    }
}

// ... and under any other locale: here de_DE, whose form reads none of the others.
TEST(GeneralDate, EveryLocaleOfQtReadsItsStoredTextBack) {
    const QDateTime values[] = {QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC),
                                QDateTime(QDate(2021, 8, 21), QTime(19, 30, 5), Qt::UTC),
                                QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC)};
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 300);
    for (const QLocale& locale : locales)
        for (const QDateTime& value : values)
            for (const QLocale& reader : {locale, QLocale(QStringLiteral("de_DE"))}) {
                const QString text = generalDateText(value, locale);
                const auto back = parseGeneralDate(text, reader);
                ASSERT_TRUE(back && *back == value)
                    << locale.name().toStdString() << " «" << text.toStdString() << "»";
                // A zone name goes with its separator ("h:mm:ss AP, t" in Albanian) and its
                // brackets ("H:mm:ss (t)" in Spanish).
                static const QRegularExpression leftOver(QStringLiteral("[,(\\[]\\s*[)\\]]?$"));
                EXPECT_FALSE(text.contains(leftOver)) << text.toStdString();
            }
}

// The ISO 8601 copy wins unless the regional text beside it reads only as another value, which
// a version that keeps no copy stored after it.
TEST(GeneralDate, TheCopyWinsUnlessTheTextBesideItWasStoredLater) {
    const QLocale us(QStringLiteral("en_US"));
    const QDateTime fourthJuly(QDate(2021, 7, 4), QTime(0, 0), Qt::UTC);
    const QString copy = isoDateText(fourthJuly);
    EXPECT_EQ(readStoredDate(QStringLiteral("04/07/2021"), copy, us), fourthJuly);
    EXPECT_EQ(readStoredDate(QStringLiteral("9/10/2021"), copy, us),
              QDateTime(QDate(2021, 9, 10), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(readStoredDate(QStringLiteral("no date"), copy, us), fourthJuly);
    EXPECT_FALSE(
        readStoredDate(QStringLiteral("no date"), QStringLiteral("2021-13-01T00:00:00"), us));
}

TEST(GeneralDate, AClockChangeAtMidnightLeavesTheDayItsMidnight) {
    const auto rereadZone = qScopeGuard([] { tzset(); }); // once TZ is put back
    // Clocks skip from 00:00 to 01:00 on 7 September 2025.
    ScopedVariable zone("TZ", "America/Santiago");
    tzset();
    const QDateTime midnight(QDate(2025, 9, 7), QTime(0, 0), Qt::UTC);
    const QLocale us(QStringLiteral("en_US"));
    EXPECT_EQ(parseGeneralDate(generalDateText(midnight, us), us), midnight);
    const QDateTime inTheGap(QDate(2025, 9, 7), QTime(0, 30), Qt::UTC);
    EXPECT_EQ(parseGeneralDate(generalDateText(inTheGap, us), us), inTheGap);
}
