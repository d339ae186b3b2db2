#include "GeneralDate.h"

#include <QRegularExpression>

QString generalDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // A two-digit year would move a stored date into another century when read back.
    static const QRegularExpression year(QStringLiteral("y+"));
    format.replace(year, QStringLiteral("yyyy"));
    return format;
}

QString generalTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    // A zone name ("t", "CET", ...) does not parse back; leave it out.
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

QString generalDateText(const QDateTime& value, const QLocale& locale) {
    QString text = locale.toString(value.date(), generalDateFormat(locale));
    const QTime time = value.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += QLatin1Char(' ') + locale.toString(time, generalTimeFormat(locale));
    return text;
}

std::optional<QDateTime> parseGeneralDate(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    const QString dateFormat = generalDateFormat(locale);
    const QDateTime withTime =
        locale.toDateTime(trimmed, dateFormat + QLatin1Char(' ') + generalTimeFormat(locale));
    if (withTime.isValid())
        return withTime;
    const QDate date = locale.toDate(trimmed, dateFormat);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0));
    return std::nullopt;
}
