// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/InvitationText.h"
#include "invitation/DocumentName.h"

#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <clocale>
#include <map>

namespace {
QString when(int y, int m, int d, int hh, int mm) {
    const QDate date(y, m, d);
    return invitation::whenText(invitation::dateText(date, invitation::dayText(date)),
                                QTime(hh, mm));
}
} // namespace

TEST(OrdinalDay, EveryDayOfTheMonthHasItsOrdinal) {
    const std::map<int, QString> irregular = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},  {21, "21st"},
                                              {22, "22nd"}, {23, "23rd"}, {31, "31st"}};
    for (int day = 1; day <= 31; ++day) {
        const auto it = irregular.find(day);
        const QString expected =
            it != irregular.end() ? it->second : QString::number(day) + QStringLiteral("th");
        EXPECT_EQ(ordinalDay(QString::number(day)), expected) << day;
    }
    // The teens are all "th", unlike 21..23.
    EXPECT_EQ(ordinalDay("11"), "11th");
    EXPECT_EQ(ordinalDay("12"), "12th");
    EXPECT_EQ(ordinalDay("13"), "13th");
}

TEST(OrdinalDay, OnlyTheCanonicalSpellingsCount) {
    EXPECT_EQ(ordinalDay(" 7 "), "7th");
    EXPECT_EQ(ordinalDay("  21"), "21st");
    for (const char* odd :
         {"0", "32", "01", "00", "", " ", "+1", "-1", "1.0", "1e1", "7th", "\t7", "100", "99", "x"})
        EXPECT_EQ(ordinalDay(QString::fromLatin1(odd)), QString()) << odd;
    EXPECT_EQ(ordinalDay(QString::fromUtf8("\u0667")), QString()); // Arabic-Indic seven
    EXPECT_EQ(ordinalDay(QString::fromUtf8("\uFF17")), QString()); // fullwidth seven
}

TEST(WhenText, HourMinuteAndDayHalf) {
    auto time = [](int hh, int mm) {
        const QTime t(hh, mm);
        return invitation::hourText(t) + invitation::minuteText(t) + invitation::dayHalfText(t);
    };
    EXPECT_EQ(time(19, 30), "7:30 PM");
    EXPECT_EQ(time(19, 0), "7 PM");
    EXPECT_EQ(time(7, 5), "7:05 AM");
    EXPECT_EQ(time(12, 0), "12 PM");
    EXPECT_EQ(time(0, 5), "12:05 AM");
    EXPECT_EQ(time(0, 0), "12 AM");
    EXPECT_EQ(time(11, 59), "11:59 AM");
    EXPECT_EQ(time(23, 1), "11:01 PM");
}

TEST(WhenText, DateTextAndTheTwoSpacesBeforeTheHour) {
    EXPECT_EQ(invitation::dateText(QDate(2021, 8, 21), invitation::dayText(QDate(2021, 8, 21))),
              " Saturday, August 21st, 2021 ");
    EXPECT_EQ(when(2021, 8, 21, 19, 30), " Saturday, August 21st, 2021  7:30 PM");
    EXPECT_EQ(when(2022, 3, 1, 18, 0), " Tuesday, March 1st, 2022  6 PM");
    EXPECT_EQ(invitation::dayText(QDate(2022, 3, 1)), " 1st ");
}

TEST(WhenText, PickerLimitsAndLeapDay) {
    EXPECT_EQ(when(1601, 1, 1, 0, 0), " Monday, January 1st, 1601  12 AM");
    EXPECT_EQ(when(9999, 12, 31, 23, 59), " Friday, December 31st, 9999  11:59 PM");
    EXPECT_EQ(when(2024, 2, 29, 12, 30), " Thursday, February 29th, 2024  12:30 PM");
    EXPECT_EQ(when(2000, 2, 29, 9, 9), " Tuesday, February 29th, 2000  9:09 AM");
}

TEST(WhenText, EnglishWhateverTheLocale) {
    const QLocale saved;
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QString german = when(2021, 12, 5, 15, 45);
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString arabic = when(2021, 12, 5, 15, 45);
    QLocale::setDefault(saved);
    std::setlocale(LC_ALL, savedC.c_str());
    EXPECT_EQ(german, " Sunday, December 5th, 2021  3:45 PM");
    EXPECT_EQ(arabic, german);
}

TEST(BookmarkTexts, EventNameAndLocation) {
    EXPECT_EQ(invitation::eventText(""), "Name of Your Event");
    EXPECT_EQ(invitation::eventText("    "), "Name of Your Event");
    EXPECT_EQ(invitation::eventText("  Gala  "), "  Gala  ");
    // Only spaces count as blank: a tab or a line break is something the user typed.
    EXPECT_EQ(invitation::eventText("\t"), "\t");
    EXPECT_EQ(invitation::eventText(" \r\n "), " \r\n ");
    EXPECT_EQ(invitation::whereText(""), " ");
    EXPECT_EQ(invitation::whereText(" 12 Elm St "), "  12 Elm St ");
}

TEST(DocumentName, EightDigitsOneToNineEachAboutEquallyOften) {
    static const QRegularExpression pattern(QStringLiteral("^qorvel[1-9]{8}$"));
    DigitSource digits;
    std::map<QChar, int> counts;
    QSet<QString> names;
    const int kNames = 4000;
    for (int i = 0; i < kNames; ++i) {
        QString name = kDocumentNamePrefix; // drawn as the request draws it
        for (int d = 0; d < 8; ++d) {
            digits.reseed(secondsSinceMidnight());
            name += QString::number(digits.drawDigit());
        }
        ASSERT_TRUE(pattern.match(name).hasMatch()) << name.toStdString();
        names.insert(name);
        for (QChar c : name.mid(6))
            ++counts[c];
    }
    EXPECT_GT(names.size(), kNames - 5); // successive draws, not repeats of one seed
    ASSERT_EQ(counts.size(), 9u);
    const double expected = kNames * 8 / 9.0;
    for (const auto& [digit, count] : counts)
        EXPECT_NEAR(count, expected, expected * 0.08) << QString(digit).toStdString();
}

TEST(DocumentName, ReseedingWithAnUnchangedTimeDoesNotRepeatDigits) {
    DigitSource digits;
    QString drawn;
    for (int i = 0; i < 64; ++i) {
        digits.reseed(1234.5);
        drawn += QString::number(digits.drawDigit());
    }
    EXPECT_NE(drawn, QString(64, drawn.at(0)));
}
