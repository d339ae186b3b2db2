// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Picker.h"
#include "app/GeneralDate.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <ctime>

namespace {

// Runs the test under a time zone and puts the machine's back afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
        : mHad(qEnvironmentVariableIsSet("TZ")), mOld(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope() {
        if (mHad)
            qputenv("TZ", mOld);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool mHad;
    QByteArray mOld;
};

QDateTime at(QDate date, QTime time) {
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

// The time picker takes every time of day in every zone, also on the days the clocks change:
// its values are wall-clock times, whatever the machine's zone.
TEST(Picker, TheTimePickerStepsThroughTheWholeDayInEveryZone) {
    const char* zones[] = {
        "Europe/Berlin",  "America/Los_Angeles", "America/New_York", "Asia/Kolkata",
        "Asia/Kathmandu", "Pacific/Kiritimati",  "Etc/GMT+12",       "UTC"};
    const QDate days[] = {QDate(2021, 8, 21), QDate(2021, 3, 14), QDate(2021, 3, 28),
                          QDate(2021, 11, 7), QDate(2021, 10, 31)};
    const struct {
        QTime from;
        int section; // the hour's section, or the minute's
        Qt::Key key;
        QTime to;
    } steps[] = {
        {QTime(7, 30), 0, Qt::Key_Up, QTime(8, 30)},
        {QTime(1, 59, 59), 0, Qt::Key_Up, QTime(2, 59, 59)},
        {QTime(2, 30), 0, Qt::Key_Down, QTime(1, 30)},
        {QTime(23, 0), 1, Qt::Key_Up, QTime(23, 1)},
        {QTime(0, 0), 1, Qt::Key_Up, QTime(0, 1)},
        {QTime(23, 59, 59), 1, Qt::Key_Down, QTime(23, 58, 59)},
        {QTime(0, 0, 1), 0, Qt::Key_Up, QTime(1, 0, 1)},
    };
    for (const char* zone : zones) {
        const ZoneScope scope(zone);
        for (const QDate day : days) {
            Picker picker(QStringLiteral("h:mm:ss AP"), nullptr);
            for (const auto& step : steps) {
                SCOPED_TRACE(
                    QStringLiteral("%1 %2 %3")
                        .arg(QLatin1String(zone), day.toString(Qt::ISODate), step.from.toString())
                        .toStdString());
                picker.setValue(at(day, step.from));
                EXPECT_EQ(picker.time(), step.from);
                picker.setCurrentSectionIndex(step.section);
                QTest::keyClick(&picker, step.key);
                EXPECT_EQ(picker.value(), at(day, step.to));
            }
        }
    }
}
