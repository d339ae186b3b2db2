// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/EmbedFonts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

namespace office {

namespace {
// The fonts the template names.
const char* const kTemplateFonts[] = {"Book Antiqua", "Arial", "Times New Roman"};

// The font configuration the office draws with: the one beside the program (the system's
// plus the invitation's alias), unless the environment names another.
FcConfig* officeFontConfig() {
    static FcConfig* const config = [] {
        QString file = qEnvironmentVariable("FONTCONFIG_FILE");
        if (file.isEmpty())
            file = QCoreApplication::applicationDirPath() + QStringLiteral("/fonts/fonts.conf");
        if (!QFileInfo(file).isFile())
            return FcInitLoadConfigAndFonts();
        FcConfig* own = FcConfigCreate();
        FcConfigParseAndLoad(
            own, reinterpret_cast<const FcChar8*>(QFile::encodeName(file).constData()), FcTrue);
        FcConfigBuildFonts(own);
        return own;
    }();
    return config;
}

// The family of the installed face fontconfig draws a family with; empty when none.
QString drawnFamily(const QString& family) {
    FcConfig* config = officeFontConfig();
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    QString drawn;
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        drawn = QString::fromUtf8(reinterpret_cast<const char*>(name));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return drawn;
}

} // namespace

QList<QPair<QString, QString>> drawnFontRenames() {
    QList<QPair<QString, QString>> renames;
    for (const char* font : kTemplateFonts) {
        const QString drawn = drawnFamily(QString::fromLatin1(font));
        if (!drawn.isEmpty() && drawn != QLatin1String(font))
            renames.append({QString::fromLatin1(font), drawn});
    }
    return renames;
}

} // namespace office
