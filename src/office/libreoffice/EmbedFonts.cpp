// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/EmbedFonts.h"

#include "office/libreoffice/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceDescriptor.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchDescriptor.hpp>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

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

beans::PropertyValue fontName(const OUString& name) {
    beans::PropertyValue value;
    value.Name = "CharFontName";
    value.Value <<= name;
    return value;
}

// Renames a font wherever the document's text or its styles use it.
void renameFont(const Reference<lang::XComponent>& document, const OUString& from,
                const OUString& to) {
    const Reference<util::XReplaceable> replaceable(document, UNO_QUERY_THROW);
    const Reference<util::XReplaceDescriptor> descriptor = replaceable->createReplaceDescriptor();
    const Reference<util::XPropertyReplace> attributes(descriptor, UNO_QUERY_THROW);
    const beans::PropertyValue search = fontName(from);
    const beans::PropertyValue replace = fontName(to);
    attributes->setSearchAttributes(uno::Sequence<beans::PropertyValue>(&search, 1));
    attributes->setReplaceAttributes(uno::Sequence<beans::PropertyValue>(&replace, 1));
    attributes->setValueSearch(true);
    descriptor->setSearchString(OUString());
    replaceable->replaceAll(Reference<util::XSearchDescriptor>(descriptor, UNO_QUERY_THROW));

    const Reference<container::XNameAccess> families =
        Reference<style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    for (const char* family : {"ParagraphStyles", "CharacterStyles"}) {
        const Reference<container::XNameAccess> styles(
            families->getByName(OUString::createFromAscii(family)), UNO_QUERY_THROW);
        for (const OUString& name : styles->getElementNames()) {
            const Reference<beans::XPropertySet> style(styles->getByName(name), UNO_QUERY_THROW);
            OUString font;
            style->getPropertyValue("CharFontName") >>= font;
            if (font == from)
                style->setPropertyValue("CharFontName", Any(to));
        }
    }
}
} // namespace

void embedDrawnFonts(const Reference<lang::XComponent>& document) {
    for (const char* font : kTemplateFonts) {
        const QString drawn = drawnFamily(QString::fromLatin1(font));
        if (!drawn.isEmpty() && drawn != QLatin1String(font))
            renameFont(document, OUString::createFromAscii(font), toOUString(drawn));
    }
    const Reference<beans::XPropertySet> settings(
        Reference<lang::XMultiServiceFactory>(document, UNO_QUERY_THROW)
            ->createInstance("com.sun.star.document.Settings"),
        UNO_QUERY_THROW);
    // The template's fonts are among those the office counts as common system fonts: they
    // are embedded too.
    for (const char* name :
         {"EmbedFonts", "EmbedOnlyUsedFonts", "EmbedSystemFonts", "EmbedLatinScriptFonts",
          "EmbedAsianScriptFonts", "EmbedComplexScriptFonts"})
        settings->setPropertyValue(OUString::createFromAscii(name), Any(true));
}

} // namespace office
