#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads iCalendar files with Python's icalendar, a reader independent of the one that wrote
them, and prints one JSON line per file: the event's fields, and its start and end placed
both by the reader's own zone data (the zone's name) and by the file's VTIMEZONE (read by
dateutil, since icalendar 4.0 cannot read rules that end). Text values are taken from
icalendar's unfolded content lines and unescaped here: icalendar 4.0 reads an escaped
backslash before an "n" as a line break."""
import io
import json
import re
import sys

from dateutil import tz
from icalendar import Calendar
from icalendar.parser import Contentlines

ESCAPED = re.compile(r"\\([\\;,nN])")


def event_texts(data):
    texts, inside = {}, False
    for line in Contentlines.from_ical(data.decode("utf-8")):
        if line:  # the event's text properties carry no parameters
            name, value = line.split(":", 1)
            inside = inside or (name, value) == ("BEGIN", "VEVENT")
            if inside:
                texts.setdefault(name, ESCAPED.sub(
                    lambda m: "\n" if m[1] in "nN" else m[1], value))
    return texts


def file_zones(data):
    lines = re.sub(r"\r\n[ \t]", "", data.decode("utf-8")).split("\r\n")
    kept, inside = [], False
    for line in lines:
        inside = inside or line == "BEGIN:VTIMEZONE"
        if inside and not line.startswith("X-"):  # dateutil refuses extensions
            kept.append(line)
        inside = inside and line != "END:VTIMEZONE"
    return tz.tzical(io.StringIO("\n".join(kept))) if kept else None


def moment(event, name, zones):
    if name not in event:
        return None
    value = event.decoded(name)
    tzid = event[name].params.get("TZID", "")
    by_rules = value.replace(tzinfo=zones.get(tzid)) if tzid else value
    return {"tzid": tzid, "byName": value.isoformat(), "byRules": by_rules.isoformat()}


def read(path):
    with open(path, "rb") as file:
        data = file.read()
    calendar = Calendar.from_ical(data)
    event = calendar.walk("VEVENT")[0]
    text = event_texts(data).get
    return {
        "events": len(calendar.walk("VEVENT")),
        "errors": [str(e) for c in calendar.walk() for e in c.errors],
        "uid": text("UID"),
        "stamped": "DTSTAMP" in event and "PRODID" in calendar,
        "summary": text("SUMMARY"),
        "location": text("LOCATION"),
        "description": text("DESCRIPTION"),
        "organizer": text("ORGANIZER"),
        "start": moment(event, "DTSTART", file_zones(data)),
        "end": moment(event, "DTEND", file_zones(data)),
    }


for path in sys.argv[1:]:
    print(json.dumps(read(path)))
