// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/FitCall.h"

#include "core/AppError.h"
#include "office/libreoffice/UnoText.h"

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::rtl::OUString;

namespace office {

namespace {
beans::NamedValue named(const char* name, const Any& value) {
    return beans::NamedValue(OUString::createFromAscii(name), value);
}
} // namespace

Sequence<beans::NamedValue> fitArguments(const Reference<lang::XComponent>& document,
                                         const QList<TextFit>& boxes) {
    Sequence<Any> rules(boxes.size());
    Any* rule = rules.getArray();
    for (const TextFit& box : boxes) {
        const Any values[] = {Any(toOUString(box.bookmark)), Any(box.mayGrow),
                              Any(sal_Int32(box.smallestPoints)), Any(sal_Int32(box.clearTop)),
                              Any(box.balanceLines)};
        *rule++ <<= Sequence<Any>(values, 5);
    }
    const beans::NamedValue arguments[] = {named("Document", Any(document)),
                                           named("Boxes", Any(rules))};
    return Sequence<beans::NamedValue>(arguments, 2);
}

bool readFitArguments(const Sequence<beans::NamedValue>& arguments,
                      Reference<lang::XComponent>& document, QList<TextFit>& boxes) {
    Sequence<Any> rules;
    if (arguments.getLength() != 2 || !(arguments[0].Value >>= document) || !document.is() ||
        !(arguments[1].Value >>= rules))
        return false;
    boxes.clear();
    for (const Any& rule : rules) {
        Sequence<Any> v;
        OUString bookmark;
        TextFit box;
        sal_Int32 smallest = 0, clearTop = 0;
        if (!(rule >>= v) || v.getLength() != 5 || !(v[0] >>= bookmark) ||
            !(v[1] >>= box.mayGrow) || !(v[2] >>= smallest) || !(v[3] >>= clearTop) ||
            !(v[4] >>= box.balanceLines))
            return false;
        box.bookmark = toQString(bookmark);
        box.smallestPoints = smallest;
        box.clearTop = clearTop;
        boxes << box;
    }
    return true;
}

Any fitAnswer(const QStringList& tooLong) {
    Sequence<OUString> names(tooLong.size());
    OUString* name = names.getArray();
    for (const QString& box : tooLong)
        *name++ = toOUString(box);
    const beans::NamedValue answer = named("TooLong", Any(names));
    return Any(Sequence<beans::NamedValue>(&answer, 1));
}

Any fitFailure(const QString& error) {
    const beans::NamedValue answer = named("Error", Any(toOUString(error)));
    return Any(Sequence<beans::NamedValue>(&answer, 1));
}

QStringList readFitAnswer(const Any& answer) {
    Sequence<beans::NamedValue> values;
    Sequence<OUString> names;
    OUString error;
    if (!(answer >>= values) || values.getLength() != 1)
        throw AppError(QStringLiteral("The office gave no answer to the fit of the texts."));
    if (values[0].Name == "Error" && (values[0].Value >>= error))
        throw AppError(toQString(error));
    if (values[0].Name != "TooLong" || !(values[0].Value >>= names))
        throw AppError(QStringLiteral("The office gave no answer to the fit of the texts."));
    QStringList tooLong;
    for (const OUString& name : names)
        tooLong << toQString(name);
    return tooLong;
}

} // namespace office
