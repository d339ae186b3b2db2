#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints one JSON line per iCalendar file: the event's texts as Python's icalendar reads them
(unescaped here: icalendar 4.0 takes an escaped backslash before "n" for a line break), and
its start and end placed by the file's own VTIMEZONE (read by dateutil, as icalendar 4.0
cannot read rules that end)."""
import io, json, re, sys
from dateutil import tz
from icalendar import Calendar
from icalendar.parser import Contentlines


def read(data):
    lines = [line for line in Contentlines.from_ical(data.decode("utf-8")) if line]
    event = lines[lines.index("BEGIN:VEVENT"):]
    texts = dict(reversed([line.split(":", 1) for line in event]))  # no parameters on texts
    unescape = lambda v: v and re.sub(r"\\([\\;,nN])", lambda m: "\n" if m[1] in "nN" else m[1], v)
    rules = lines[lines.index("BEGIN:VTIMEZONE"):] if "BEGIN:VTIMEZONE" in lines else []
    rules = rules[:rules.index("END:VTIMEZONE") + 1] if rules else []
    # dateutil refuses extensions (X-LIC-LOCATION)
    zones = rules and tz.tzical(io.StringIO("\n".join(l for l in rules if l[:2] != "X-")))
    parsed = Calendar.from_ical(data)
    vevent = parsed.walk("VEVENT")[0]

    def moment(name):
        value, tzid = vevent.decoded(name), vevent[name].params.get("TZID", "")
        return {"tzid": tzid, "time": (value.replace(tzinfo=zones.get(tzid)) if tzid else value).isoformat()}

    return dict(errors=[str(e) for c in parsed.walk() for e in c.errors],
                stamped="DTSTAMP" in vevent and "PRODID" in parsed,
                start=moment("DTSTART"), end=moment("DTEND"),
                **{k.lower(): unescape(texts.get(k))
                   for k in ("UID", "SUMMARY", "LOCATION", "DESCRIPTION", "ORGANIZER")})


for path in sys.argv[1:]:
    with open(path, "rb") as file:
        print(json.dumps(read(file.read())))
