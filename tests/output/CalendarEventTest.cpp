// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The calendar event as other programs read it: Python's icalendar (with the zone's rules
// read from the file by dateutil) and khal, a calendar program, which imports it.

#include "output/CalendarEvent.h"
#include "core/EventDetails.h"
#include "support/ScopedTemp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000) && process.exitCode() == 0)
        << program.toStdString() << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// A calendar of khal's in the folder ("party"), showing times in UTC; khal is run on it.
QString khal(const QTemporaryDir& folder, const QStringList& arguments) {
    const QString config = folder.filePath(QStringLiteral("khal.conf"));
    if (QDir(folder.path()).mkdir(QStringLiteral("party"))) {
        QFile file(config);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[calendars]\n[[party]]\npath = " + QFile::encodeName(folder.path()) +
                   "/party\n[locale]\nlocal_timezone = UTC\ndefault_timezone = UTC\n"
                   "timeformat = %H:%M\ndateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n"
                   "datetimeformat = %Y-%m-%d %H:%M\nlongdatetimeformat = %Y-%m-%d %H:%M\n");
    }
    return QString::fromUtf8(run(QStringLiteral("khal"), QStringList{"-c", config} + arguments));
}

EventDetails party(const QString& text, const QDateTime& at = {{2026, 7, 4}, {19, 30}}) {
    return {text, at.date(), at.time(), text, text, text, text, QUuid::createUuid()};
}

// Writes each event into the folder in the system's zone, has khal import them all, and
// returns what the reader found in each.
QJsonArray writeReadAndImport(const QTemporaryDir& folder, const QList<EventDetails>& events) {
    QStringList files;
    for (const EventDetails& details : events) {
        files << folder.filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + ".ics");
        writeCalendarEventReplacing(details, QTimeZone::systemTimeZoneId(), files.last());
    }
    QJsonArray read;
    for (const QByteArray& line :
         run(FESTORIA_PYTHON, QStringList{FESTORIA_CALENDAR_READER} + files).split('\n'))
        if (!line.isEmpty())
            read.append(QJsonDocument::fromJson(line).object());
    EXPECT_EQ(read.size(), files.size());
    khal(folder, QStringList{"import", "--batch"} + files);
    return read;
}

// RFC 5545's lines: at most 75 octets each, whole UTF-8 characters, no control character
// but the tab.
void expectFoldedLines(const QByteArray& bytes) {
    for (const QByteArray& line : bytes.chopped(1).split('\n')) {
        const QByteArray content = line.chopped(1);
        EXPECT_TRUE(line.endsWith('\r') && content.size() <= 75) << line.toStdString();
        EXPECT_EQ(QString::fromUtf8(content).toUtf8(), content);
        for (const char c : content)
            EXPECT_TRUE((uchar(c) >= 0x20 && c != 0x7f) || c == '\t') << line.toStdString();
    }
}
} // namespace

TEST(CalendarEvent, HostileTextsReadBackAsTypedAndImport) {
    const ScopedVariable zone("TZ", "Europe/Berlin");
    const QString scripts = QStringLiteral("Fête 日本語 العربية हिन्दी ไทย 😀 עברית");
    const QString longest = QStringLiteral("Ωx日😀").repeated(6553) + QStringLiteral("ab");
    const QString answer = QStringLiteral("Jane <jane.doe@example.com>, or call");
    const struct {
        QString typed, read; // null read: nothing typed, the default name and no details
    } table[] = {
        {answer, answer}, // the organizer
        {QStringLiteral("a;b,c\\d:e\"f\\n"), QStringLiteral("a;b,c\\d:e\"f\\n")},
        {QStringLiteral("a\x01"
                        "b\x07\x1b[1mc\x7f\td\u009Be"),
         QStringLiteral("ab[1mc\tde")},
        {QStringLiteral("1\r\n2\r3\n4\v5\f6\u00857\u20288\u20299"),
         QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9")},
        {scripts, scripts},
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"), QStringLiteral("a?b")},
        {longest, longest},
        {QStringLiteral("  "), QString()},
    };
    QList<EventDetails> events;
    for (const auto& row : table)
        events << party(row.typed);
    const QTemporaryDir folder;
    const QJsonArray read = writeReadAndImport(folder, events);
    for (qsizetype i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        const QJsonObject event = read[i].toObject();
        EXPECT_TRUE(event[u"errors"].toArray().isEmpty() && event[u"stamped"].toBool());
        EXPECT_EQ(event[u"uid"].toString(), events[i].invitationId.toString(QUuid::WithoutBraces));
        const QString expected = table[i].read;
        EXPECT_EQ(event[u"summary"].toString(), expected.isNull() ? kDefaultEventName : expected);
        EXPECT_EQ(event[u"location"].toString(), expected);
        EXPECT_EQ(event[u"description"].toString(),
                  expected.isNull() ? expected
                                    : QStringLiteral("What to bring: %1\nDriving directions: "
                                                     "%1\nRSVP to: %1")
                                          .arg(expected));
        EXPECT_EQ(event[u"organizer"].toString(),
                  i ? QString() : QStringLiteral("mailto:jane.doe@example.com"));
        expectFoldedLines(calendarEvent(events[i], "Europe/Berlin"));
    }
    EXPECT_EQ(QDir(folder.filePath("party")).entryList(QDir::Files).size(), read.size());
}

TEST(CalendarEvent, StartsInTheUsersZoneWithAndWithoutDaylightSaving) {
    const struct {
        QByteArray tz;
        QTime time;
        QString tzid, start, end;
    } table[] = {
        {"Europe/Berlin",
         {19, 30},
         "Europe/Berlin",
         "2026-07-04T19:30:00+02:00",
         "2026-07-04T22:30:00+02:00"},
        // Into the night the clocks change: three real hours.
        {"America/New_York",
         {23, 30},
         "America/New_York",
         "2026-03-07T23:30:00-05:00",
         "2026-03-08T03:30:00-04:00"},
        {"Asia/Tokyo",
         {19, 30},
         "Asia/Tokyo",
         "2026-07-04T19:30:00+09:00",
         "2026-07-04T22:30:00+09:00"},
        {"UTC", {19, 30}, "", "2026-07-04T19:30:00+00:00", "2026-07-04T22:30:00+00:00"},
        // A rule no zone file names: the same moment in UTC.
        {"XYZ-3:30", {19, 30}, "", "2026-07-04T16:00:00+00:00", "2026-07-04T19:00:00+00:00"},
    };
    const QTemporaryDir folder;
    for (const auto& row : table) {
        SCOPED_TRACE(row.tz.constData());
        const ScopedVariable zone("TZ", row.tz);
        const QDate day = QDate::fromString(row.start.left(10), Qt::ISODate);
        const QJsonObject read =
            writeReadAndImport(folder, {party(row.tz, {day, row.time})})[0].toObject();
        for (const auto& [when, expected] :
             {std::pair{u"start", row.start}, std::pair{u"end", row.end}}) {
            const QJsonObject at = read[when].toObject();
            EXPECT_EQ(at[u"tzid"].toString(), row.tzid);
            EXPECT_EQ(at[u"byName"].toString(), expected);
            EXPECT_EQ(at[u"byRules"].toString(), expected);
        }
        const QString inUtc = QDateTime::fromString(row.start, Qt::ISODate)
                                  .toUTC()
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm|"));
        EXPECT_TRUE(khal(folder, {"list", "--format", "{start}|{title}", "--day-format", "",
                                  day.toString(Qt::ISODate), day.addDays(2).toString(Qt::ISODate)})
                        .contains(inUtc + row.tz));
    }
}
