// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/InvitationText.h"

#include <array>

namespace {
// English (United States) names, independent of the locale the program runs in.
constexpr std::array<const char*, 7> kWeekdays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                  "Friday", "Saturday", "Sunday"};
constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

// Trims spaces only (not tabs or line breaks), at both ends.
QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
} // namespace

QString ordinalDay(const QString& strDay) {
    const QString day = trimSpaces(strDay);
    // Only the canonical spellings "1".."31" qualify: no sign, no leading zero.
    if (day.isEmpty() || day.size() > 2 || day.at(0) == QLatin1Char('0'))
        return {};
    for (const QChar c : day)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    const int n = day.toInt();
    if (n < 1 || n > 31)
        return {};
    if (n == 1 || n == 21 || n == 31)
        return day + QStringLiteral("st");
    if (n == 2 || n == 22)
        return day + QStringLiteral("nd");
    if (n == 3 || n == 23)
        return day + QStringLiteral("rd");
    return day + QStringLiteral("th");
}

QString properCase(const QString& text) {
    QString result = text;
    bool startOfWord = true;
    for (QChar& c : result) {
        if (c.isLetter()) {
            c = startOfWord ? c.toUpper() : c.toLower();
            startOfWord = false;
        } else {
            startOfWord = c.isSpace() || c == QChar(0);
        }
    }
    return result;
}

namespace invitation {

QString eventText(const QString& eventName) {
    return trimSpaces(eventName).isEmpty() ? kDefaultEventName : eventName;
}

QString dayText(const QDate& date) {
    return QStringLiteral(" ") + ordinalDay(QString::number(date.day())) + QStringLiteral(" ");
}

QString dateText(const QDate& date, const QString& dayText) {
    const QString weekdayAndMonth =
        QString::fromLatin1(kWeekdays.at(date.dayOfWeek() - 1)) + QStringLiteral(", ") +
        QString::fromLatin1(kMonths.at(date.month() - 1)) + QStringLiteral(" ");
    const QString year =
        QStringLiteral(", ") + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    return QStringLiteral(" ") + properCase(weekdayAndMonth) + trimSpaces(dayText) +
           properCase(year) + QStringLiteral(" ");
}

QString hourText(const QTime& time) {
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QString::number(hour12);
}

QString minuteText(const QTime& time) {
    if (time.minute() == 0)
        return {};
    return QStringLiteral(":%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString dayHalfText(const QTime& time) {
    return time.hour() < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM");
}

QString whenText(const QString& dateText, const QTime& time) {
    return dateText + QStringLiteral(" ") + hourText(time) + minuteText(time) + dayHalfText(time);
}

QString whereText(const QString& location) {
    return QStringLiteral(" ") + location;
}

} // namespace invitation
