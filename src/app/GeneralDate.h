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
// read back gets the form yyyy-MM-dd HH:mm:ss instead. So that a value stored under another
// regional format still reads back, reading tries the regional form first; then the common
// forms month/day/year, day/month/year, day.month.year and year-month-day, each with a time of
// h:mm[:ss] AM/PM or H:mm[:ss]; then the form of every other locale Qt knows (month names,
// native digits, day-period and time words). A numeric date the regional form cannot read is
// therefore read month first.
QString generalDateFormat(const QLocale& locale = QLocale()); // the date part's pattern
QString generalTimeFormat(const QLocale& locale = QLocale()); // the time part's pattern
QString generalDateText(const QDateTime& value, const QLocale& locale = QLocale());
std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale = QLocale());

// The unambiguous copy stored beside the general date text: ISO 8601 without a zone
// ("2021-07-04T19:30:00").
QString isoDateText(const QDateTime& value);
// A stored value from its general date text and that copy ("" when there is none). The copy
// wins when the text reads as the same value in any of the forms above, so that a value never
// moves to another day under another locale. A text that reads only as another value was
// stored after the copy, by a version that keeps none, and wins; a copy beside a text that
// reads as nothing is the value.
std::optional<QDateTime> readStoredDate(const QString& text, const QString& isoCopy,
                                        const QLocale& locale = QLocale());
