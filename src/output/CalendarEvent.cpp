// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/CalendarEvent.h"
#include "output/MailAddress.h"

#include "core/AppError.h"
#include "core/EventDetails.h"
#include "core/Product.h"
#include "core/ReplaceFile.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

namespace {
struct FreeComponent {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

// The zone the start is written in: a zone of the system's data with its rules (a
// VTIMEZONE named tzid), or UTC, which needs neither.
struct EventZone {
    icaltimezone* zone = icaltimezone_get_utc_timezone();
    QByteArray tzid;
    Component rules;
};

bool isLineBreak(char32_t c) {
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x85 || c == 0x2028 ||
           c == 0x2029;
}

// The text as a calendar holds it: every kind of line break one "\n" (a CR LF pair one
// break), tabs kept, the other control characters left out. Qt's UTF-8 encoder writes a
// lone surrogate as '?', so the bytes are always valid UTF-8.
QByteArray calendarText(const QString& typed) {
    QString text;
    text.reserve(typed.size());
    const QString breaksJoined =
        QString(typed).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar c : breaksJoined) {
        if (isLineBreak(c.unicode()))
            text += u'\n';
        else if (c == u'\t' || c.category() != QChar::Other_Control)
            text += c;
    }
    return text.toUtf8();
}

// The first e-mail address in the RSVP text, as a mailto: address; empty when there is none.
QByteArray organizerAddress(const QString& rsvp) {
    const QString address = firstMailAddress(rsvp);
    return address.isEmpty() ? QByteArray() : "mailto:" + address.toUtf8();
}

// What to bring, the directions and whom to answer, one line each, labelled as on the
// invitation; a detail left empty is left out.
QString description(const EventDetails& details) {
    QStringList lines;
    const std::pair<const QString&, const QString&> labelled[] = {
        {kItemsLabel, details.items},
        {kDirectionsLabel, details.directions},
        {kRsvpLabel, details.rsvp},
    };
    for (const auto& [label, text] : labelled)
        if (!text.trimmed().isEmpty())
            lines << label + text;
    return lines.join(u'\n');
}

EventZone eventZone(const QByteArray& timeZoneId) {
    EventZone zone;
    icaltimezone* known =
        timeZoneId.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(timeZoneId.constData());
    icalcomponent* rules = known ? icaltimezone_get_component(known) : nullptr;
    if (!rules) // UTC itself, or a zone the system's data lacks
        return zone;
    zone.zone = known;
    zone.tzid = timeZoneId;
    // libical names its zones with a prefix of its own; calendars know the zone's plain name.
    zone.rules.reset(icalcomponent_new_clone(rules));
    icalproperty_set_tzid(icalcomponent_get_first_property(zone.rules.get(), ICAL_TZID_PROPERTY),
                          zone.tzid.constData());
    return zone;
}

// The chosen date and time in the zone; in UTC when the zone is not one libical knows.
icaltimetype startTime(const EventDetails& details, const QByteArray& timeZoneId,
                       const EventZone& zone) {
    if (!details.date.isValid() || !details.time.isValid())
        throw AppError(QStringLiteral("The calendar event needs the event's date and time."));
    QDateTime start(details.date, details.time);
    if (zone.tzid.isEmpty()) {
        const QTimeZone named(timeZoneId);
        start = (named.isValid() ? QDateTime(details.date, details.time, named) : start).toUTC();
    }
    icaltimetype time = icaltime_null_time();
    time.year = start.date().year();
    time.month = start.date().month();
    time.day = start.date().day();
    time.hour = start.time().hour();
    time.minute = start.time().minute();
    time.second = start.time().second();
    return icaltime_set_timezone(&time, zone.zone);
}

icalproperty* zoned(icalproperty* property, const EventZone& zone) {
    if (!zone.tzid.isEmpty())
        icalproperty_add_parameter(property, icalparameter_new_tzid(zone.tzid.constData()));
    return property;
}

void addTimes(icalcomponent* event, const EventDetails& details, const QByteArray& timeZoneId,
              const EventZone& zone) {
    icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_current_time_with_zone(
                                          icaltimezone_get_utc_timezone())));
    const icaltimetype start = startTime(details, timeZoneId, zone);
    icalcomponent_add_property(event, zoned(icalproperty_new_dtstart(start), zone));
    // Counted in real hours: an evening that crosses a change of the clocks still lasts as long.
    icaltimetype end = icaltime_convert_to_zone(start, icaltimezone_get_utc_timezone());
    icaltime_adjust(&end, 0, kEventHours, 0, 0);
    end = icaltime_convert_to_zone(end, zone.zone);
    // Past the last year a calendar can write, the event simply has no end.
    if (end.year <= 9999)
        icalcomponent_add_property(event, zoned(icalproperty_new_dtend(end), zone));
}

void addTexts(icalcomponent* event, const EventDetails& details) {
    const QString name = details.name.trimmed().isEmpty() ? kDefaultEventName : details.name;
    icalcomponent_add_property(event, icalproperty_new_summary(calendarText(name).constData()));
    if (!details.location.trimmed().isEmpty())
        icalcomponent_add_property(
            event, icalproperty_new_location(calendarText(details.location).constData()));
    const QString about = description(details);
    if (!about.isEmpty())
        icalcomponent_add_property(event,
                                   icalproperty_new_description(calendarText(about).constData()));
    const QByteArray organizer = organizerAddress(details.rsvp);
    if (!organizer.isEmpty())
        icalcomponent_add_property(event, icalproperty_new_organizer(organizer.constData()));
}

Component newCalendar() {
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    const QByteArray product = "-//Quillmont//" + kProductName.toUtf8() + "//EN";
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(product.constData()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    // Published for anyone's calendar, not a meeting request that asks for replies.
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    return calendar;
}
} // namespace

QByteArray calendarEvent(const EventDetails& details, const QByteArray& timeZoneId) {
    EventZone zone = eventZone(timeZoneId);
    Component event(icalcomponent_new_vevent());
    const QUuid id = details.invitationId.isNull() ? QUuid::createUuid() : details.invitationId;
    icalcomponent_add_property(
        event.get(), icalproperty_new_uid(id.toByteArray(QUuid::WithoutBraces).constData()));
    addTimes(event.get(), details, timeZoneId, zone);
    addTexts(event.get(), details);

    const Component calendar = newCalendar();
    if (zone.rules)
        icalcomponent_add_component(calendar.get(), zone.rules.release());
    icalcomponent_add_component(calendar.get(), event.release());
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

void writeCalendarEventReplacing(const EventDetails& details, const QByteArray& timeZoneId,
                                 const QString& destination) {
    writeFileReplacing(calendarEvent(details, timeZoneId), destination);
}
