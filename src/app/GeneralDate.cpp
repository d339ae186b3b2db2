// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GeneralDate.h"

#include "app/LocaleDateForms.h"

#include <QRegularExpression>

#include <functional>

namespace {
using Accept = std::function<bool(const QDateTime&)>;

// The form every value reads back from (ISO 8601's date and time): for a locale whose own
// text does not, and for the unambiguous copy (with a "T" between them).
const QString kFallbackDate = QStringLiteral("yyyy-MM-dd");
const QString kFallbackTime = QStringLiteral("HH:mm:ss");

// The common short forms a stored value is read in when the regional form cannot read it (a
// value stored under another regional format), in this order.
const QStringList kOtherDateForms = {QStringLiteral("M/d/yyyy"), QStringLiteral("d/M/yyyy"),
                                     QStringLiteral("d.M.yyyy"), QStringLiteral("yyyy-M-d")};
const QStringList kOtherTimeForms = {QStringLiteral("h:mm:ss AP"), QStringLiteral("h:mm AP"),
                                     QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};

bool isMidnight(const QTime& time) {
    return time.hour() == 0 && time.minute() == 0 && time.second() == 0;
}

QDateTime zoneFree(const QDate& date, const QTime& time) {
    return QDateTime(date, time, Qt::UTC);
}

// The text as a date alone, or as a date, a space and a time of day. Date and time are read
// apart, at each space that may separate them: a wall-clock time that the local zone skips (a
// clock change) is still a time, and a text that is no date costs one reading per space.
std::optional<QDateTime> parseWith(const QString& text, const QLocale& locale,
                                   const QString& dateFormat, const QString& timeFormat) {
    const QDate date = locale.toDate(text, dateFormat);
    if (date.isValid())
        return zoneFree(date, QTime(0, 0));
    for (qsizetype at = text.indexOf(QLatin1Char(' ')); at >= 0;
         at = text.indexOf(QLatin1Char(' '), at + 1)) {
        const QDate day = locale.toDate(text.left(at), dateFormat);
        if (!day.isValid())
            continue;
        const QTime time = locale.toTime(text.mid(at + 1), timeFormat);
        if (time.isValid())
            return zoneFree(day, time);
    }
    return std::nullopt;
}

QString withPlainSpaces(QString text) {
    return text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
}

// The date, then (after a space) the time of day, in the common forms: the readings in the
// order of the forms, until one is accepted. Newer locale data writes a no-break space before
// the day period; it reads as a space.
std::optional<QDateTime> readCommonForms(const QString& stored, const Accept& accept) {
    const QString text = withPlainSpaces(stored);
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    const QString datePart = space < 0 ? text : text.left(space);
    const QString timePart = space < 0 ? QString() : text.mid(space + 1).trimmed();
    const QLocale c = QLocale::c();
    for (const QString& dateForm : kOtherDateForms) {
        const QDate date = c.toDate(datePart, dateForm);
        if (!date.isValid())
            continue;
        std::optional<QDateTime> reading;
        if (timePart.isEmpty())
            reading = zoneFree(date, QTime(0, 0));
        for (qsizetype i = 0; !reading && i < kOtherTimeForms.size(); ++i) {
            const QTime time = c.toTime(timePart, kOtherTimeForms[i]);
            if (time.isValid())
                reading = zoneFree(date, time);
        }
        if (reading && accept(*reading))
            return reading;
    }
    return std::nullopt;
}

// The form of every locale Qt knows that could have written the text.
std::optional<QDateTime> readEveryLocale(const QString& text, const Accept& accept) {
    for (const LocaleDateForm& form : localeDateForms()) {
        if (!form.couldHaveWritten(text))
            continue;
        const auto reading = parseWith(text, form.locale, form.dateFormat, form.timeFormat);
        if (reading && accept(*reading))
            return reading;
    }
    return std::nullopt;
}

// The first reading of a stored text that accept takes: under the regional form, then the
// common forms, then the form of any locale. The common forms come before the locales, so that
// a numeric date the regional form cannot read is read month first, whichever locale is first.
std::optional<QDateTime> firstReading(const QString& stored, const QLocale& locale,
                                      const Accept& accept) {
    // Earlier versions left the brackets of a zone name behind ("19:30:05 ( )").
    static const QRegularExpression emptyBrackets(QStringLiteral("\\s*[(\\[]\\s*[)\\]]\\s*$"));
    const QString text = QString(stored).remove(emptyBrackets).trimmed();
    if (auto own = parseWith(text, locale, generalDateFormat(locale), generalTimeFormat(locale));
        own && accept(*own))
        return own;
    if (auto common = readCommonForms(text, accept))
        return common;
    return readEveryLocale(text, accept);
}
} // namespace

QString generalDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // A two-digit year would move a stored date into another century when read back.
    static const QRegularExpression year(QStringLiteral("y+"));
    format.replace(year, QStringLiteral("yyyy"));
    return format;
}

QString generalTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    // A zone name ("t", "CET", ...) does not parse back; leave it out, with the separator
    // that leads to it and the brackets around it ("H:mm:ss (t)").
    static const QRegularExpression zone(QStringLiteral("[\\s,]*[(\\[]?\\bt+\\b[)\\]]?\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

QString generalDateText(const QDateTime& value, const QLocale& locale) {
    const QDate date = value.date();
    const QTime time = value.time();
    const auto text = [&](const QLocale& in, const QString& dateFormat, const QString& timeFormat) {
        QString t = in.toString(date, dateFormat);
        if (!isMidnight(time))
            t += QLatin1Char(' ') + in.toString(time, timeFormat);
        return t;
    };
    const QString dateFormat = generalDateFormat(locale);
    const QString timeFormat = generalTimeFormat(locale);
    const QString regional = text(locale, dateFormat, timeFormat);
    const QDateTime whole = zoneFree(date, QTime(time.hour(), time.minute(), time.second()));
    // A few locales write texts their own rules cannot read back; those get a form that can.
    if (parseWith(regional, locale, dateFormat, timeFormat) == whole)
        return regional;
    return text(QLocale::c(), kFallbackDate, kFallbackTime);
}

std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale) {
    return firstReading(text, locale, [](const QDateTime&) { return true; });
}

QString isoDateText(const QDateTime& value) {
    const QLocale c = QLocale::c();
    return c.toString(value.date(), kFallbackDate) + QLatin1Char('T') +
           c.toString(value.time(), kFallbackTime);
}

std::optional<QDateTime> readStoredDate(const QString& text, const QString& isoCopy,
                                        const QLocale& locale) {
    // Date and time apart: a wall-clock time the local zone skips is still a time.
    const QStringList parts = isoCopy.split(QLatin1Char('T'));
    const QDate day = QDate::fromString(parts.value(0), kFallbackDate);
    const QTime time = QTime::fromString(parts.value(1), kFallbackTime);
    if (parts.size() != 2 || !day.isValid() || !time.isValid())
        return parseGeneralDate(text, locale);
    const QDateTime value = zoneFree(day, time);
    if (firstReading(text, locale, [&](const QDateTime& reading) { return reading == value; }))
        return value;
    // A text that reads only as another day was stored after the copy, by a version that
    // keeps no copy.
    if (auto later = parseGeneralDate(text, locale))
        return later;
    return value;
}
