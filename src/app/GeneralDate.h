// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The "general date" text a picker's value is stored as: the regional short date, and when
// the time of day is not midnight a space and the regional long time. The year always has
// four digits and the time carries no zone name, so every value reads back exactly (to the
// second), whatever the century. Values carry no time zone (a date-time as the pickers hold
// it, Qt::UTC), so no clock change can make one invalid. A locale whose own text does not
// read back gets the form yyyy-MM-dd HH:mm:ss instead. Reading tries the regional form first,
// then month/day/year, day/month/year, day.month.year and year-month-day, each with a time
// of h:mm[:ss] AM/PM or H:mm[:ss], so that a value stored under another regional format still
// reads back.
QString generalDateFormat(const QLocale& locale = QLocale()); // the date part's pattern
QString generalTimeFormat(const QLocale& locale = QLocale()); // the time part's pattern
QString generalDateText(const QDateTime& value, const QLocale& locale = QLocale());
std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale = QLocale());
