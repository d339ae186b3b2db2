// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The texts that go into the invitation's bookmarks. Weekday, month and day-half names are
// always English (United States), whatever the user's locale, because the template's own
// labels are English.

#include "core/EventDetails.h"

#include <QDate>
#include <QString>
#include <QTime>

// The ordinal of a day of the month written as text ("1" -> "1st", "22" -> "22nd"). The
// input is compared after trimming; anything but "1" to "31" written without leading zero
// gives an empty text.
QString ordinalDay(const QString& strDay);

// Proper case: the first letter of each word upper case, the rest lower.
QString properCase(const QString& text);

namespace invitation {

// bEvent: the name as typed, or "Name of Your Event" when it is empty or only spaces.
QString eventText(const QString& eventName);

// " " + ordinalDay(day of month) + " ".
QString dayText(const QDate& date);

// " Saturday, August 21st, 2021 ": weekday, month, the trimmed day text, the year, and a
// space before and after.
QString dateText(const QDate& date, const QString& dayText);

// The hour of the 12-hour clock without leading zero: "1" to "12".
QString hourText(const QTime& time);
// ":nn" when the minute is not 0, otherwise empty.
QString minuteText(const QTime& time);
// " AM" or " PM".
QString dayHalfText(const QTime& time);

// bWhen: date text, a space, then hour, minute and day-half texts, e.g.
// " Saturday, August 21st, 2021  7:30 PM".
QString whenText(const QString& dateText, const QTime& time);

// bWhere: a space followed by the location.
QString whereText(const QString& location);

} // namespace invitation
