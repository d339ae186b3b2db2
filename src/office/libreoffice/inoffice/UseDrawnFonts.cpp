// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/inoffice/UseDrawnFonts.h"

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

#include <vector>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

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

// Renames the fonts in every paragraph and character style that names one (about 150
// styles).
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
    for (const auto& [styles, name] : all) {
        const Reference<beans::XPropertySet> style(styles->getByName(name), UNO_QUERY_THROW);
        OUString font;
        style->getPropertyValue("CharFontName") >>= font;
        const auto renamed = renames.find(font);
        if (renamed != renames.end())
            style->setPropertyValue("CharFontName", Any(renamed->second));
    }
}

} // namespace

void useDrawnFonts(const Reference<lang::XComponent>& document,
                   const std::map<OUString, OUString>& renames) {
    for (const auto& [from, to] : renames)
        renameInText(document, from, to);
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
