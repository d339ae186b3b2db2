// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GeneralDate.h"

#include <QRegularExpression>

namespace {
// The form every value reads back from, for a locale whose own text does not.
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

std::optional<QDateTime> parseWith(const QString& text, const QLocale& locale,
                                   const QString& dateFormat, const QString& timeFormat) {
    const QDateTime withTime = locale.toDateTime(text, dateFormat + QLatin1Char(' ') + timeFormat);
    if (withTime.isValid())
        return zoneFree(withTime.date(), withTime.time());
    const QDate date = locale.toDate(text, dateFormat);
    if (date.isValid())
        return zoneFree(date, QTime(0, 0));
    // A wall-clock time that the local zone skips (a clock change) is still a time: read the
    // date and the time apart, at each space that may separate them.
    for (qsizetype at = text.indexOf(QLatin1Char(' ')); at >= 0;
         at = text.indexOf(QLatin1Char(' '), at + 1)) {
        const QDate day = locale.toDate(text.left(at), dateFormat);
        const QTime time = locale.toTime(text.mid(at + 1), timeFormat);
        if (day.isValid() && time.isValid())
            return zoneFree(day, time);
    }
    return std::nullopt;
}

// The date, then (after a space) the time of day, each in the first of the other common forms
// that reads it.
std::optional<QDateTime> parseOtherForms(QString text) {
    text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    const QString datePart = space < 0 ? text : text.left(space);
    const QString timePart = space < 0 ? QString() : text.mid(space + 1).trimmed();
    const QLocale c = QLocale::c();
    for (const QString& dateForm : kOtherDateForms) {
        const QDate date = c.toDate(datePart, dateForm);
        if (!date.isValid())
            continue;
        if (timePart.isEmpty())
            return zoneFree(date, QTime(0, 0));
        for (const QString& timeForm : kOtherTimeForms) {
            const QTime time = c.toTime(timePart, timeForm);
            if (time.isValid())
                return zoneFree(date, time);
        }
        return std::nullopt;
    }
    return std::nullopt;
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
    // that leads to it.
    static const QRegularExpression zone(QStringLiteral("[\\s,]*\\bt+\\b\\s*"));
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
    const QString regional = text(locale, generalDateFormat(locale), generalTimeFormat(locale));
    const QDateTime whole = zoneFree(date, QTime(time.hour(), time.minute(), time.second()));
    // A few locales write texts their own rules cannot read back; those get a form that can.
    if (parseWith(regional, locale, generalDateFormat(locale), generalTimeFormat(locale)) == whole)
        return regional;
    return text(QLocale::c(), kFallbackDate, kFallbackTime);
}

std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (auto value =
            parseWith(trimmed, locale, generalDateFormat(locale), generalTimeFormat(locale)))
        return value;
    return parseOtherForms(trimmed);
}
