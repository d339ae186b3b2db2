#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The "general date" text a picker's value is stored as: the regional short date, and when
// the time of day is not midnight a space and the regional long time. The year always has
// four digits and the time carries no zone name, so every value reads back exactly (to the
// second), whatever the century. Values carry no time zone (a date-time as the pickers hold
// it, Qt::UTC), so no clock change can make one invalid. A locale whose own text does not
// read back gets the form yyyy-MM-dd HH:mm:ss instead.
QString generalDateFormat(const QLocale& locale = QLocale());    // the date part's pattern
QString generalTimeFormat(const QLocale& locale = QLocale());    // the time part's pattern
QString generalDateText(const QDateTime& value, const QLocale& locale = QLocale());
std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale = QLocale());
