// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/FontCoverage.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace {
// Never drawn on their own: a font need not have them.
bool isInvisible(char32_t c) {
    if (c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0xad)
        return true;
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Separator_Space || category == QChar::Separator_Line ||
        category == QChar::Separator_Paragraph || category == QChar::Other_Format)
        return true;
    return (c >= 0xfe00 && c <= 0xfe0f) || (c >= 0xe0100 && c <= 0xe01ef) ||
           (c >= 0xe0000 && c <= 0xe007f);
}

// Asks fontconfig (the configuration the office reads too) for any font with the character.
bool someFontHas(char32_t c) {
    static QHash<char32_t, bool> known; // the window thread is the only caller
    const auto found = known.constFind(c);
    if (found != known.constEnd())
        return *found;
    FcCharSet* charset = FcCharSetCreate();
    FcCharSetAddChar(charset, c);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    const bool has = fonts && fonts->nfont > 0;
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(charset);
    known.insert(c, has);
    return has;
}

QString quoted(const QList<char32_t>& characters) {
    QStringList names;
    for (qsizetype i = 0; i < characters.size() && i < 3; ++i)
        names << QStringLiteral("'") + QString::fromUcs4(&characters[i], 1) + QStringLiteral("'");
    return names.join(QStringLiteral(", "));
}
} // namespace

QList<char32_t> charactersWithoutFont(const QString& text) {
    QList<char32_t> missing;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x7f || isInvisible(c) || missing.contains(c))
            continue;
        if (!someFontHas(c))
            missing.append(c);
    }
    return missing;
}

QString missingFontReport(const QList<LabelledText>& fields) {
    QStringList lines;
    for (const LabelledText& field : fields) {
        const QList<char32_t> missing = charactersWithoutFont(field.text);
        if (!missing.isEmpty())
            lines << QCoreApplication::translate("FontCoverage",
                                                 "No installed font can draw %1 in '%2'.")
                         .arg(quoted(missing), field.label);
    }
    if (lines.isEmpty())
        return {};
    lines << QCoreApplication::translate(
        "FontCoverage", "They will show as empty boxes. Install fonts-noto-core, fonts-noto-cjk, "
                        "fonts-noto-extra or another font that has them, or type other "
                        "characters.");
    return lines.join(QStringLiteral("\n"));
}
