// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTimeEdit>

// A date or time picker that holds a whole date-time value within 1 January 1601 to
// 31 December 9999, whichever part it shows: the time picker keeps its date, and the date
// picker its time of day. Values carry no time zone (Qt::UTC), as a wall-clock date and time:
// a day whose clocks skip midnight still has its midnight.
class Picker : public QDateTimeEdit {
    Q_OBJECT
public:
    Picker(const QString& displayFormat, QWidget* parent);

    static QDateTime earliest() { return QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC); }
    static QDateTime latest() { return QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC); }

    QDateTime value() const { return mValue; }
    // Throws AppError when the value lies outside the picker's range.
    void setValue(const QDateTime& value);

signals:
    void valueChanged(const QDateTime& value);

private:
    void edited(const QDateTime& shown);

    QDateTime mValue;
    bool mTimeOnly;
    bool mSetting = false;
};
