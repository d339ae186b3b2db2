// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Picker.h"

#include "core/AppError.h"

Picker::Picker(const QString& displayFormat, QWidget* parent) : QDateTimeEdit(parent) {
    // The editor's default range is in local time: turned into UTC, its first and last times
    // of day are shifted by the zone's offset, and once a time-only format narrows the range
    // to one day, the picker keeps only the times between them (west of Greenwich, a single
    // second). So the range is set in UTC first.
    setTimeSpec(Qt::UTC);
    setDateTimeRange(earliest(), latest());
    setDisplayFormat(displayFormat);
    mTimeOnly = !(displayedSections() & QDateTimeEdit::DateSections_Mask);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, &Picker::edited);
}

void Picker::setValue(const QDateTime& value) {
    const QDateTime withoutMilliseconds(
        value.date(), QTime(value.time().hour(), value.time().minute(), value.time().second()),
        Qt::UTC);
    if (!value.isValid() || withoutMilliseconds < earliest() || withoutMilliseconds > latest())
        throw AppError(QStringLiteral("Invalid property value"));
    mSetting = true;
    if (mTimeOnly)
        setTime(withoutMilliseconds.time());
    else
        setDateTime(withoutMilliseconds);
    mSetting = false;
    if (withoutMilliseconds != mValue) {
        mValue = withoutMilliseconds;
        emit valueChanged(mValue);
    }
}

void Picker::edited(const QDateTime& shown) {
    if (mSetting)
        return;
    const QDateTime value(mTimeOnly ? mValue.date() : shown.date(), shown.time(), Qt::UTC);
    if (value != mValue) {
        mValue = value;
        emit valueChanged(mValue);
    }
}
