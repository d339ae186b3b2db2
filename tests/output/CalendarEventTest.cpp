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

// Has khal, a calendar program, import the files into a calendar ("party") in the folder.
void khalImport(const QTemporaryDir& folder, const QStringList& files) {
    const QString config = folder.filePath(QStringLiteral("khal.conf"));
    QDir(folder.path()).mkdir(QStringLiteral("party"));
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[calendars]\n[[party]]\npath = " + QFile::encodeName(folder.path()) +
               "/party\n[locale]\nlocal_timezone = UTC\ndefault_timezone = UTC\n");
    file.close();
    run(QStringLiteral("khal"), QStringList{"-c", config, "import", "--batch"} + files);
}

// What Python's icalendar reads in each file, one object per file.
QJsonArray readCalendars(const QStringList& files) {
    QJsonArray read;
    for (const QByteArray& line :
         run(FESTORIA_PYTHON, QStringList{FESTORIA_CALENDAR_READER} + files).split('\n'))
        if (!line.isEmpty())
            read.append(QJsonDocument::fromJson(line).object());
    EXPECT_EQ(read.size(), files.size());
    return read;
}

} // namespace

// Each row's event is written in the row's zone (the system's), then read back by Python's
// icalendar and imported by khal.
TEST(CalendarEvent, ReadsBackAsTypedInTheUsersZoneAndImports) {
    const QString scripts = QStringLiteral("Fête 日本語 العربية हिन्दी ไทย 😀 עברית");
    const QString longest = QStringLiteral("Ωx日😀").repeated(6553) + QStringLiteral("ab");
    const QString answer = QStringLiteral("Jane <jane.doe@example.com>, or call");
    const struct {
        QString typed, read; // null read: nothing typed, the default name and no details
        QByteArray tz = "Europe/Berlin";
        QString start = "2026-07-04T19:30:00+02:00", end = "2026-07-04T22:30:00+02:00";
        QTime typedTime = {}; // when not the start's own
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
        // Into the night the clocks change: three real hours.
        {"", {}, "America/New_York", "2026-03-07T23:30:00-05:00", "2026-03-08T03:30:00-04:00"},
        {"", {}, "Asia/Tokyo", "2026-07-04T19:30:00+09:00", "2026-07-04T22:30:00+09:00"},
        {"", {}, "UTC", "2026-07-04T19:30:00+00:00", "2026-07-04T22:30:00+00:00"},
        // A rule no zone file names: the same moment in UTC.
        {"", {}, "XYZ-3:30", "2026-07-04T16:00:00+00:00", "2026-07-04T19:00:00+00:00", {19, 30}},
    };
    const QTemporaryDir folder;
    QStringList files;
    QList<EventDetails> events;
    for (const auto& row : table) {
        const ScopedVariable zone("TZ", row.tz);
        const QDateTime start = QDateTime::fromString(row.start.left(16), Qt::ISODate);
        const QTime at = row.typedTime.isValid() ? row.typedTime : start.time();
        const QString& t = row.typed;
        events << EventDetails{t, start.date(), at, t, t, t, t, QUuid::createUuid()};
        files << folder.filePath(QString::number(files.size()) + QStringLiteral(".ics"));
        writeCalendarEventReplacing(events.last(), QTimeZone::systemTimeZoneId(), files.last());
    }
    const QJsonArray read = readCalendars(files);
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
        const QByteArray tz = table[i].tz;
        for (const auto& [when, time] :
             {std::pair{u"start", table[i].start}, {u"end", table[i].end}}) {
            EXPECT_EQ(event[when].toObject()[u"tzid"].toString(), tz.contains('/') ? tz : "");
            EXPECT_EQ(event[when].toObject()[u"time"].toString(), time);
        }
    }
    khalImport(folder, files);
    EXPECT_EQ(QDir(folder.filePath("party")).entryList(QDir::Files).size(), read.size());
}
