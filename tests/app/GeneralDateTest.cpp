#include "GeneralDate.h"
#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {
const char* const kLocales[] = {"en_US", "en_GB", "de_DE", "fr_FR", "ja_JP", "ar_EG"};
}

TEST(GeneralDate, EveryValueReadsBackExactlyInEveryLocale) {
    const QDateTime values[] = {
        QDateTime(QDate(1601, 1, 1), QTime(0, 0)),
        QDateTime(QDate(1899, 12, 31), QTime(23, 59, 59)),
        QDateTime(QDate(1969, 7, 20), QTime(20, 17, 40)),
        QDateTime(QDate(2024, 2, 29), QTime(12, 0, 1)),
        QDateTime(QDate(2100, 3, 1), QTime(0, 0, 1)),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)),
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
    EXPECT_EQ(generalDateText(QDateTime(QDate(2021, 8, 21), QTime(0, 0)), us), "8/21/2021");
    EXPECT_EQ(generalDateText(QDateTime(QDate(2021, 8, 21), QTime(19, 30)), us),
              "8/21/2021 7:30:00 PM");
    const QLocale de(QStringLiteral("de_DE"));
    EXPECT_EQ(generalDateText(QDateTime(QDate(1850, 3, 4), QTime(7, 5, 9)), de),
              "04.03.1850 07:05:09");
}

TEST(GeneralDate, TextThatIsNoDateIsRefused) {
    const QLocale us(QStringLiteral("en_US"));
    for (const char* text : {"", "tomorrow", "13/45/2020", "2021-08-21"})
        EXPECT_FALSE(parseGeneralDate(QString::fromLatin1(text), us).has_value()) << text;
}
