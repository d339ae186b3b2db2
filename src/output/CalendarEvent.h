// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

struct EventDetails;

// How long the event lasts in a calendar: the invitation names no end.
inline constexpr int kEventHours = 3;

// The party as an iCalendar event (RFC 5545) that any calendar program imports: the event's
// name as its summary ("Name of Your Event" when none was typed), the start at the chosen
// date and time in the time zone, an end kEventHours later, the location, and a description
// with what to bring, the driving directions and whom to answer, labelled as on the
// invitation. The organizer is the e-mail address in the RSVP text, when it holds one.
//
// timeZoneId names a zone of the system's zone data ("Europe/Berlin"); the event carries
// that zone's rules, so that every calendar shows the hour the invitation names. A zone the
// data lacks (a TZ rule such as "EST5EDT,M3.2.0,M11.1.0") gives the same moment in UTC.
// Control characters other than line breaks and tabs are left out: they have no place in
// a calendar's text. Throws AppError when the details have no valid date or time.
QByteArray calendarEvent(const EventDetails& details, const QByteArray& timeZoneId);

// Writes the event at destination the way a save replaces a file: whole or not at all,
// with the replaced file's mode kept. Throws AppError.
void writeCalendarEventReplacing(const EventDetails& details, const QByteArray& timeZoneId,
                                 const QString& destination);
