// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
// Loads festoria_<language>.qm (or qtbase_<language>.qm) from the folder, trying the
// locale's languages in order ("de-CH", then "de"). The translator lives as long as the
// application.
void install(const QLocale& locale, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
} // namespace

void installTranslations(const QLocale& locale) {
    install(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Compiled into the program (translations/).
    install(locale, QStringLiteral("festoria"), QStringLiteral(":/i18n"));
}
