// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/Properties.h"

#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include <algorithm>
#include <cstring>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

std::vector<Any> getAll(const Reference<beans::XPropertySet>& object,
                        std::initializer_list<const char*> names) {
    std::vector<Any> values;
    const Reference<beans::XMultiPropertySet> atOnce(object, UNO_QUERY);
    if (!atOnce.is()) {
        for (const char* name : names)
            values.push_back(object->getPropertyValue(OUString::createFromAscii(name)));
        return values;
    }
    // The office takes the names in alphabetical order.
    std::vector<const char*> sorted(names);
    const auto before = [](const char* a, const char* b) { return std::strcmp(a, b) < 0; };
    std::sort(sorted.begin(), sorted.end(), before);
    Sequence<OUString> asked(sal_Int32(sorted.size()));
    for (size_t i = 0; i < sorted.size(); ++i)
        asked.getArray()[i] = OUString::createFromAscii(sorted[i]);
    const Sequence<Any> got = atOnce->getPropertyValues(asked);
    for (const char* name : names) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), name, before);
        values.push_back(got[sal_Int32(at - sorted.begin())]);
    }
    return values;
}

Reference<beans::XPropertySet> firstPageStyle(const Reference<lang::XComponent>& document) {
    const Reference<text::XTextDocument> text(document, UNO_QUERY_THROW);
    const Reference<beans::XPropertySet> start(text->getText()->createTextCursor(),
                                               UNO_QUERY_THROW);
    const Reference<style::XStyleFamiliesSupplier> families(document, UNO_QUERY_THROW);
    const Reference<container::XNameAccess> pageStyles(
        families->getStyleFamilies()->getByName(OUString("PageStyles")), UNO_QUERY_THROW);
    return Reference<beans::XPropertySet>(
        pageStyles->getByName(get<OUString>(start, "PageStyleName")), UNO_QUERY_THROW);
}

} // namespace office
