// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Conversions between the program's Qt values and the office's UNO ones, for the office
// engine and the tools and tests that speak UNO.

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <rtl/ustring.hxx>

#include <QFileInfo>
#include <QString>
#include <QUrl>

#include <initializer_list>

namespace office {

inline rtl::OUString toOUString(const QString& s) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), s.size());
}

inline QString toQString(const rtl::OUString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}

// The file URL of a local path, made absolute, as the office takes it.
inline rtl::OUString fileUrl(const QString& path) {
    return toOUString(
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

inline ::com::sun::star::beans::PropertyValue property(const char* name,
                                                       const ::com::sun::star::uno::Any& value) {
    ::com::sun::star::beans::PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

// A descriptor for the office: properties({property("Hidden", Any(true)), ...}).
inline ::com::sun::star::uno::Sequence<::com::sun::star::beans::PropertyValue>
properties(std::initializer_list<::com::sun::star::beans::PropertyValue> list) {
    return ::com::sun::star::uno::Sequence<::com::sun::star::beans::PropertyValue>(
        list.begin(), sal_Int32(list.size()));
}

// The descriptor with one more property at its end.
inline ::com::sun::star::uno::Sequence<::com::sun::star::beans::PropertyValue>
withProperty(::com::sun::star::uno::Sequence<::com::sun::star::beans::PropertyValue> list,
             const ::com::sun::star::beans::PropertyValue& more) {
    list.realloc(list.getLength() + 1);
    list.getArray()[list.getLength() - 1] = more;
    return list;
}

} // namespace office
