// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LocaleDateForms.h"

#include "app/GeneralDate.h"

#include <QSet>

#include <algorithm>

namespace {
// The ten digits of the locale, also those outside the Basic Multilingual Plane.
QString digits(const QLocale& locale) {
    const QList<uint> zero = locale.zeroDigit().toUcs4();
    QString all;
    for (char32_t digit = 0; digit < 10 && zero.size() == 1; ++digit) {
        const char32_t code = zero.first() + digit;
        all += QString::fromUcs4(&code, 1);
    }
    return all;
}

// Every name the patterns can write: month names (long and short, also standalone) when the
// date pattern names the month, day names when it names the day.
QString names(const QLocale& locale, const QString& dateFormat) {
    QString all;
    if (dateFormat.contains(QStringLiteral("MMM"))) {
        for (int month = 1; month <= 12; ++month)
            for (const auto form : {QLocale::LongFormat, QLocale::ShortFormat})
                all += locale.monthName(month, form) + locale.standaloneMonthName(month, form);
    }
    if (dateFormat.contains(QStringLiteral("ddd"))) {
        for (int day = 1; day <= 7; ++day)
            for (const auto form : {QLocale::LongFormat, QLocale::ShortFormat})
                all += locale.dayName(day, form) + locale.standaloneDayName(day, form);
    }
    return all;
}

LocaleDateForm formOf(const QLocale& locale) {
    LocaleDateForm form{locale, generalDateFormat(locale), generalTimeFormat(locale), {}};
    const QString pattern = form.dateFormat + QLatin1Char(' ') + form.timeFormat;
    // A morning and an evening write the separators and both day-period words.
    const QDate day(2021, 8, 21);
    QString written = locale.toString(QDateTime(day, QTime(7, 30), Qt::UTC), pattern) +
                      locale.toString(QDateTime(day, QTime(19, 30), Qt::UTC), pattern) +
                      digits(locale) + names(locale, form.dateFormat);
    std::sort(written.begin(), written.end());
    written.erase(std::unique(written.begin(), written.end()), written.end());
    form.characters = written;
    return form;
}

std::vector<LocaleDateForm> buildForms() {
    std::vector<LocaleDateForm> forms;
    QSet<QString> seen;
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        LocaleDateForm form = formOf(locale);
        // Locales that write alike read alike: the patterns and the names decide.
        const QString same = form.dateFormat + QLatin1Char('\n') + form.timeFormat +
                             QLatin1Char('\n') + form.characters + QLatin1Char('\n') +
                             names(locale, form.dateFormat) + locale.amText() + locale.pmText();
        if (!seen.contains(same)) {
            seen.insert(same);
            forms.push_back(std::move(form));
        }
    }
    return forms;
}
} // namespace

bool LocaleDateForm::couldHaveWritten(const QString& text) const {
    return std::all_of(text.begin(), text.end(), [this](QChar c) {
        return std::binary_search(characters.begin(), characters.end(), c);
    });
}

const std::vector<LocaleDateForm>& localeDateForms() {
    static const std::vector<LocaleDateForm> forms = buildForms();
    return forms;
}
