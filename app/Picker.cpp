#include "Picker.h"

#include "AppError.h"

Picker::Picker(const QString& displayFormat, QWidget* parent) : QDateTimeEdit(parent) {
    setDisplayFormat(displayFormat);
    mTimeOnly = !(displayedSections() & QDateTimeEdit::DateSections_Mask);
    if (!mTimeOnly)
        setDateTimeRange(earliest(), latest());
    connect(this, &QDateTimeEdit::dateTimeChanged, this, &Picker::edited);
}

void Picker::setValue(const QDateTime& value) {
    if (!value.isValid() || value < earliest() || value > latest())
        throw AppError(QStringLiteral("Invalid property value"));
    const QDateTime withoutMilliseconds(
        value.date(), QTime(value.time().hour(), value.time().minute(), value.time().second()));
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
    const QDateTime value = mTimeOnly ? QDateTime(mValue.date(), shown.time()) : shown;
    if (value != mValue) {
        mValue = value;
        emit valueChanged(mValue);
    }
}
