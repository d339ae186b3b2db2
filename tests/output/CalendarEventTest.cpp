// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The calendar event as other programs read it: Python's icalendar (with the zone's rules
// read from the file by dateutil) and khal, a calendar program, which imports it.

#include "output/CalendarEvent.h"
#include "core/AppError.h"
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
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// A calendar of the test's own, in khal's vdir format; khal shows times in UTC.
class Khal {
public:
    Khal() {
        QDir(mDir.path()).mkpath(QStringLiteral("party"));
        QFile config(mDir.filePath(QStringLiteral("config")));
        EXPECT_TRUE(config.open(QIODevice::WriteOnly));
        config.write("[calendars]\n[[party]]\npath = " + QFile::encodeName(mDir.path()) +
                     "/party\n[locale]\nlocal_timezone = UTC\ndefault_timezone = UTC\n"
                     "timeformat = %H:%M\ndateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n"
                     "datetimeformat = %Y-%m-%d %H:%M\nlongdatetimeformat = %Y-%m-%d %H:%M\n");
    }
    // The events imported, each a file named by its UID.
    QStringList import(const QStringList& files) {
        run(QStringLiteral("khal"),
            QStringList{QStringLiteral("-c"), config(), QStringLiteral("import"),
                        QStringLiteral("--batch")} +
                files);
        return QDir(mDir.filePath(QStringLiteral("party"))).entryList(QDir::Files, QDir::Name);
    }
    QString list(const QString& from, const QString& to) {
        return QString::fromUtf8(
            run(QStringLiteral("khal"),
                {QStringLiteral("-c"), config(), QStringLiteral("list"), QStringLiteral("--format"),
                 QStringLiteral("{start}|{end}|{title}"), QStringLiteral("--day-format"), QString(),
                 from, to}));
    }

private:
    QString config() const { return mDir.filePath(QStringLiteral("config")); }
    QTemporaryDir mDir;
};

EventDetails party(const QString& text) {
    return {text, QDate(2026, 7, 4), QTime(19, 30), text, text, text, text, QUuid::createUuid()};
}

// Writes each event into the folder; returns the files and what the reader found in each.
std::pair<QStringList, QJsonArray> writeAndRead(const QTemporaryDir& folder,
                                                const QList<EventDetails>& events) {
    QStringList files;
    for (const EventDetails& details : events) {
        files << folder.filePath(QString::number(files.size()) + QStringLiteral(".ics"));
        writeCalendarEventReplacing(details, QTimeZone::systemTimeZoneId(), files.last());
    }
    QJsonArray read;
    for (const QByteArray& line : run(QStringLiteral(FESTORIA_PYTHON),
                                      QStringList{QStringLiteral(FESTORIA_CALENDAR_READER)} + files)
                                      .split('\n'))
        if (!line.isEmpty())
            read.append(QJsonDocument::fromJson(line).object());
    EXPECT_EQ(read.size(), files.size());
    return {files, read};
}

// RFC 5545's lines: at most 75 octets each, whole UTF-8 characters, no control character
// but the tab.
void expectFoldedLines(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    for (const QByteArray& line : bytes.chopped(1).split('\n')) {
        const QByteArray content = line.chopped(1);
        EXPECT_TRUE(line.endsWith('\r') && content.size() <= 75) << line.toStdString();
        EXPECT_TRUE(QString::fromUtf8(content).toUtf8() == content) << line.toStdString();
        for (const char c : content)
            EXPECT_TRUE((uchar(c) >= 0x20 && c != 0x7f) || c == '\t') << line.toStdString();
    }
}
} // namespace

TEST(CalendarEvent, HostileTextsReadBackAsTypedAndImport) {
    const ScopedVariable zone("TZ", "Europe/Berlin");
    const QString longText = QStringLiteral("Ωx日😀").repeated(6553) + QStringLiteral("ab");
    const struct {
        const char* what;
        QString typed;
        QString summary;
        QString text; // location, and each labelled line of the description; null: none
        QString organizer;
    } table[] = {
        {"an address to answer", QStringLiteral("Jane <jane.doe@example.com>, or call"),
         QStringLiteral("Jane <jane.doe@example.com>, or call"),
         QStringLiteral("Jane <jane.doe@example.com>, or call"),
         QStringLiteral("mailto:jane.doe@example.com")},
        {"the format's own separators", QStringLiteral("a;b,c\\d:e\"f\\n"),
         QStringLiteral("a;b,c\\d:e\"f\\n"), QStringLiteral("a;b,c\\d:e\"f\\n"), QString()},
        {"control characters",
         QStringLiteral("a\x01"
                        "b\x07\x1b[1mc\x7f\td\u009Be"),
         QStringLiteral("ab[1mc\tde"), QStringLiteral("ab[1mc\tde"), QString()},
        {"every line break", QStringLiteral("1\r\n2\r3\n4\v5\f6\u00857\u20288\u20299"),
         QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9"), QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9"),
         QString()},
        {"scripts", QStringLiteral("Fête 日本語 العربية हिन्दी ไทย 😀 עברית"),
         QStringLiteral("Fête 日本語 العربية हिन्दी ไทย 😀 עברית"),
         QStringLiteral("Fête 日本語 العربية हिन्दी ไทย 😀 עברית"), QString()},
        {"a lone surrogate", QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"),
         QStringLiteral("a?b"), QStringLiteral("a?b"), QString()},
        {"the longest texts", longText, longText, longText, QString()},
        {"nothing typed", QString(), QStringLiteral("Name of Your Event"), QString(), QString()},
        {"only spaces", QStringLiteral("   "), QStringLiteral("Name of Your Event"), QString(),
         QString()},
    };
    QList<EventDetails> events;
    for (const auto& row : table)
        events << party(row.typed);
    const QTemporaryDir folder;
    const auto [files, read] = writeAndRead(folder, events);
    for (qsizetype i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(table[i].what);
        expectFoldedLines(files[i]);
        const QJsonObject event = read[i].toObject();
        EXPECT_EQ(event[u"errors"].toArray().size(), 0);
        EXPECT_EQ(event[u"uid"].toString(), events[i].invitationId.toString(QUuid::WithoutBraces));
        EXPECT_TRUE(event[u"stamped"].toBool());
        EXPECT_EQ(event[u"summary"].toString(), table[i].summary);
        EXPECT_EQ(event[u"location"].toString(), table[i].text);
        const QString about = table[i].text.isNull()
                                  ? QString()
                                  : QStringLiteral("What to bring: %1\nDriving directions: "
                                                   "%1\nRSVP to: %1")
                                        .arg(table[i].text);
        EXPECT_EQ(event[u"description"].toString(), about);
        EXPECT_EQ(event[u"organizer"].toString(), table[i].organizer);
    }
    Khal khal;
    EXPECT_EQ(khal.import(files).size(), files.size());
    EXPECT_TRUE(
        khal.list(QStringLiteral("2026-07-04"), QStringLiteral("2026-07-05"))
            .contains(QStringLiteral("2026-07-04 17:30|2026-07-04 20:30|Name of Your Event")));
}

TEST(CalendarEvent, StartsInTheUsersZoneWithAndWithoutDaylightSaving) {
    const struct {
        QByteArray tz;
        QDateTime at;
        QString tzid, start, end, inKhal;
    } table[] = {
        {"Europe/Berlin", QDateTime(QDate(2026, 7, 4), QTime(19, 30)),
         QStringLiteral("Europe/Berlin"), QStringLiteral("2026-07-04T19:30:00+02:00"),
         QStringLiteral("2026-07-04T22:30:00+02:00"),
         QStringLiteral("2026-07-04 17:30|2026-07-04 20:30|")},
        {"Europe/Berlin", QDateTime(QDate(2026, 1, 10), QTime(19, 30)),
         QStringLiteral("Europe/Berlin"), QStringLiteral("2026-01-10T19:30:00+01:00"),
         QStringLiteral("2026-01-10T22:30:00+01:00"),
         QStringLiteral("2026-01-10 18:30|2026-01-10 21:30|")},
        // Overnight into the change of the clocks: three real hours.
        {"America/New_York", QDateTime(QDate(2026, 3, 7), QTime(23, 30)),
         QStringLiteral("America/New_York"), QStringLiteral("2026-03-07T23:30:00-05:00"),
         QStringLiteral("2026-03-08T03:30:00-04:00"),
         QStringLiteral("2026-03-08 04:30|2026-03-08 07:30|")},
        {"Asia/Tokyo", QDateTime(QDate(2026, 7, 4), QTime(19, 30)), QStringLiteral("Asia/Tokyo"),
         QStringLiteral("2026-07-04T19:30:00+09:00"), QStringLiteral("2026-07-04T22:30:00+09:00"),
         QStringLiteral("2026-07-04 10:30|2026-07-04 13:30|")},
        {"UTC", QDateTime(QDate(2026, 7, 4), QTime(19, 30)), QString(),
         QStringLiteral("2026-07-04T19:30:00+00:00"), QStringLiteral("2026-07-04T22:30:00+00:00"),
         QStringLiteral("2026-07-04 19:30|2026-07-04 22:30|")},
        // A rule the zone data does not name: the same moment in UTC.
        {"XYZ-3:30", QDateTime(QDate(2026, 7, 4), QTime(19, 30)), QString(),
         QStringLiteral("2026-07-04T16:00:00+00:00"), QStringLiteral("2026-07-04T19:00:00+00:00"),
         QStringLiteral("2026-07-04 16:00|2026-07-04 19:00|")},
    };
    const QTemporaryDir folder;
    Khal khal;
    for (const auto& row : table) {
        SCOPED_TRACE(row.tz.constData());
        const ScopedVariable zone("TZ", row.tz);
        EventDetails details = party(QString::fromLatin1(row.tz));
        details.date = row.at.date();
        details.time = row.at.time();
        const auto [files, read] = writeAndRead(folder, {details});
        for (const char* when : {"start", "end"}) {
            const QJsonObject at = read[0][QLatin1String(when)].toObject();
            EXPECT_EQ(at[u"tzid"].toString(), row.tzid);
            for (const char* placed : {"byName", "byRules"})
                EXPECT_EQ(at[QLatin1String(placed)].toString(),
                          qstrcmp(when, "start") ? row.end : row.start)
                    << when << " " << placed;
        }
        khal.import(files);
        EXPECT_TRUE(khal.list(row.at.date().toString(Qt::ISODate),
                              row.at.date().addDays(2).toString(Qt::ISODate))
                        .contains(row.inKhal + QString::fromLatin1(row.tz)));
    }
}

TEST(CalendarEvent, WithoutADateThereIsNoEvent) {
    EventDetails details = party(QStringLiteral("Party"));
    details.date = QDate();
    EXPECT_THROW(calendarEvent(details, "Europe/Berlin"), AppError);
}
