// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/JobCall.h"

#include "core/AppError.h"
#include "office/libreoffice/UnoText.h"

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Sequence;
using ::rtl::OUString;

namespace office {

namespace {

beans::NamedValue named(const char* name, const Any& value) {
    return beans::NamedValue(OUString::createFromAscii(name), value);
}

JobArguments task(const char* name, const DocumentRef& document, const char* what, const Any& value,
                  const char* more = nullptr, const Any& moreValue = {}) {
    const beans::NamedValue values[] = {named("Task", Any(OUString::createFromAscii(name))),
                                        named("Document", Any(document)), named(what, value),
                                        named(more ? more : "", moreValue)};
    return JobArguments(values, more ? 4 : 3);
}

// The task's document and its values after it, when the arguments are that task's.
bool readTask(const JobArguments& arguments, const char* name, sal_Int32 values,
              DocumentRef& document) {
    OUString given;
    return arguments.getLength() == 2 + values && (arguments[0].Value >>= given) &&
           given.equalsAscii(name) && (arguments[1].Value >>= document) && document.is();
}

Any answer(std::initializer_list<beans::NamedValue> values) {
    return Any(Sequence<beans::NamedValue>(values.begin(), sal_Int32(values.size())));
}

// The answer's values; throws AppError with the job's error.
Sequence<beans::NamedValue> valuesOf(const Any& answer) {
    Sequence<beans::NamedValue> values;
    OUString error;
    if (!(answer >>= values))
        throw AppError(QStringLiteral("The office gave no answer to the program's work."));
    if (values.getLength() == 1 && values[0].Name == "Error" && (values[0].Value >>= error))
        throw AppError(toQString(error));
    return values;
}

} // namespace

JobArguments fillArguments(const DocumentRef& document, const QString& bookmark,
                           const QString& text) {
    return task("Fill", document, "Bookmark", Any(toOUString(bookmark)), "Text",
                Any(toOUString(text)));
}

bool readFillArguments(const JobArguments& arguments, DocumentRef& document, QString& bookmark,
                       QString& text) {
    OUString b, t;
    if (!readTask(arguments, "Fill", 2, document) || !(arguments[2].Value >>= b) ||
        !(arguments[3].Value >>= t))
        return false;
    bookmark = toQString(b);
    text = toQString(t);
    return true;
}

JobArguments fitArguments(const DocumentRef& document, const QList<TextFit>& boxes) {
    Sequence<Any> rules(boxes.size());
    Any* rule = rules.getArray();
    for (const TextFit& box : boxes) {
        const Any values[] = {Any(toOUString(box.bookmark)), Any(box.mayGrow),
                              Any(sal_Int32(box.smallestPoints)), Any(sal_Int32(box.clearTop)),
                              Any(box.balanceLines)};
        *rule++ <<= Sequence<Any>(values, 5);
    }
    return task("Fit", document, "Boxes", Any(rules));
}

bool readFitArguments(const JobArguments& arguments, DocumentRef& document, QList<TextFit>& boxes) {
    Sequence<Any> rules;
    if (!readTask(arguments, "Fit", 1, document) || !(arguments[2].Value >>= rules))
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

JobArguments drawArguments(const DocumentRef& document, const QString& fileUrl, int pixelWidth) {
    return task("Draw", document, "File", Any(toOUString(fileUrl)), "PixelWidth",
                Any(sal_Int32(pixelWidth)));
}

bool readDrawArguments(const JobArguments& arguments, DocumentRef& document, QString& fileUrl,
                       int& pixelWidth) {
    OUString url;
    sal_Int32 width = 0;
    if (!readTask(arguments, "Draw", 2, document) || !(arguments[2].Value >>= url) ||
        !(arguments[3].Value >>= width))
        return false;
    fileUrl = toQString(url);
    pixelWidth = width;
    return true;
}

JobArguments embedArguments(const DocumentRef& document,
                            const QList<QPair<QString, QString>>& renames) {
    Sequence<OUString> names(2 * renames.size());
    OUString* name = names.getArray();
    for (const auto& [from, to] : renames) {
        *name++ = toOUString(from);
        *name++ = toOUString(to);
    }
    return task("Embed", document, "Renames", Any(names));
}

bool readEmbedArguments(const JobArguments& arguments, DocumentRef& document,
                        std::map<OUString, OUString>& renames) {
    Sequence<OUString> names;
    if (!readTask(arguments, "Embed", 1, document) || !(arguments[2].Value >>= names) ||
        names.getLength() % 2 != 0)
        return false;
    renames.clear();
    for (sal_Int32 i = 0; i < names.getLength(); i += 2)
        renames[names[i]] = names[i + 1];
    return true;
}

Any doneAnswer() {
    return answer({});
}

Any fitAnswer(const QStringList& tooLong) {
    Sequence<OUString> names(tooLong.size());
    OUString* name = names.getArray();
    for (const QString& box : tooLong)
        *name++ = toOUString(box);
    return answer({named("TooLong", Any(names))});
}

Any drawnAnswer(const DrawnPage& page) {
    return answer({named("Width", Any(sal_Int32(page.width))),
                   named("Height", Any(sal_Int32(page.height))),
                   named("PixelHeight", Any(sal_Int32(page.pixelHeight)))});
}

Any failedAnswer(const QString& error) {
    return answer({named("Error", Any(toOUString(error)))});
}

void readDoneAnswer(const Any& answer) {
    if (valuesOf(answer).hasElements())
        throw AppError(QStringLiteral("The office gave no answer to the program's work."));
}

QStringList readFitAnswer(const Any& answer) {
    const Sequence<beans::NamedValue> values = valuesOf(answer);
    Sequence<OUString> names;
    if (values.getLength() != 1 || values[0].Name != "TooLong" || !(values[0].Value >>= names))
        throw AppError(QStringLiteral("The office gave no answer to the program's work."));
    QStringList tooLong;
    for (const OUString& name : names)
        tooLong << toQString(name);
    return tooLong;
}

DrawnPage readDrawnAnswer(const Any& answer) {
    const Sequence<beans::NamedValue> values = valuesOf(answer);
    sal_Int32 v[3] = {};
    if (values.getLength() != 3 || !(values[0].Value >>= v[0]) || !(values[1].Value >>= v[1]) ||
        !(values[2].Value >>= v[2]))
        throw AppError(QStringLiteral("The office gave no answer to the program's work."));
    return {v[0], v[1], v[2]};
}

} // namespace office
