// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading properties of the office's objects. Every call to the office is a round trip of
// about a tenth of a millisecond, so several properties are read in one where the object
// allows it.

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <rtl/ustring.hxx>

#include <initializer_list>
#include <vector>

namespace office {

template <typename T>
T get(const ::com::sun::star::uno::Reference<::com::sun::star::beans::XPropertySet>& object,
      const char* name) {
    T value{};
    object->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= value;
    return value;
}

template <typename T> T as(const ::com::sun::star::uno::Any& value) {
    T result{};
    value >>= result;
    return result;
}

// Several properties at once, in the order of the names: one call where the object takes
// it, one per property where it does not.
std::vector<::com::sun::star::uno::Any>
getAll(const ::com::sun::star::uno::Reference<::com::sun::star::beans::XPropertySet>& object,
       std::initializer_list<const char*> names);

// The page style in force at the start of the document's text: the first page's.
::com::sun::star::uno::Reference<::com::sun::star::beans::XPropertySet> firstPageStyle(
    const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document);

} // namespace office
