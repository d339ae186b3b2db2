// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Picker.h"

#include "core/AppError.h"

Picker::Picker(const QString& displayFormat, QWidget* parent) : QDateTimeEdit(parent) {
    setTimeSpec(Qt::UTC);
    setDisplayFormat(displayFormat);
    mTimeOnly = !(displayedSections() & QDateTimeEdit::DateSections_Mask);
    if (!mTimeOnly)
        setDateTimeRange(earliest(), latest());
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
