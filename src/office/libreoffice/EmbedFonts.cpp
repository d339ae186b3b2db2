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

#include <future>
#include <map>
#include <vector>

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

// Renames a font wherever the document's text uses it.
void renameInText(const Reference<lang::XComponent>& document, const OUString& from,
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
}

// Renames the fonts in every paragraph and character style that names one. There are about
// 150 styles and every read is a round trip to the office: each is read once, and a few
// threads read side by side.
void renameInStyles(const Reference<lang::XComponent>& document,
                    const std::map<OUString, OUString>& renames) {
    const Reference<container::XNameAccess> families =
        Reference<style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    std::vector<std::pair<Reference<container::XNameAccess>, OUString>> all;
    for (const char* family : {"ParagraphStyles", "CharacterStyles"}) {
        const Reference<container::XNameAccess> styles(
            families->getByName(OUString::createFromAscii(family)), UNO_QUERY_THROW);
        for (const OUString& name : styles->getElementNames())
            all.emplace_back(styles, name);
    }
    constexpr size_t kReaders = 4;
    std::vector<std::future<void>> readers;
    for (size_t first = 0; first < kReaders; ++first)
        readers.push_back(std::async(std::launch::async, [&, first] {
            for (size_t i = first; i < all.size(); i += kReaders) {
                const Reference<beans::XPropertySet> style(all[i].first->getByName(all[i].second),
                                                           UNO_QUERY_THROW);
                OUString font;
                style->getPropertyValue("CharFontName") >>= font;
                const auto renamed = renames.find(font);
                if (renamed != renames.end())
                    style->setPropertyValue("CharFontName", Any(renamed->second));
            }
        }));
    for (auto& reader : readers)
        reader.get();
}
} // namespace

void embedDrawnFonts(const Reference<lang::XComponent>& document) {
    std::map<OUString, OUString> renames;
    for (const char* font : kTemplateFonts) {
        const QString drawn = drawnFamily(QString::fromLatin1(font));
        if (!drawn.isEmpty() && drawn != QLatin1String(font)) {
            const OUString& to = renames[OUString::createFromAscii(font)] = toOUString(drawn);
            renameInText(document, OUString::createFromAscii(font), to);
        }
    }
    if (!renames.empty())
        renameInStyles(document, renames);
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
