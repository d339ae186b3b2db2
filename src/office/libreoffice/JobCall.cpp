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

JobArguments task(const char* name, const DocumentRef& document,
                  std::initializer_list<beans::NamedValue> values) {
    JobArguments arguments(2 + sal_Int32(values.size()));
    beans::NamedValue* argument = arguments.getArray();
    *argument++ = named("Task", Any(OUString::createFromAscii(name)));
    *argument++ = named("Document", Any(document));
    for (const beans::NamedValue& value : values)
        *argument++ = value;
    return arguments;
}

Sequence<OUString> toSequence(const QStringList& strings) {
    Sequence<OUString> sequence(strings.size());
    OUString* element = sequence.getArray();
    for (const QString& string : strings)
        *element++ = toOUString(string);
    return sequence;
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
    return task(
        "Fill", document,
        {named("Bookmark", Any(toOUString(bookmark))), named("Text", Any(toOUString(text)))});
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
    return task("Fit", document, {named("Boxes", Any(rules))});
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
    return task(
        "Draw", document,
        {named("File", Any(toOUString(fileUrl))), named("PixelWidth", Any(sal_Int32(pixelWidth)))});
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
    QStringList names; // from, to, from, to...
    for (const auto& [from, to] : renames)
        names << from << to;
    return task("Embed", document, {named("Renames", Any(toSequence(names)))});
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
    return answer({named("TooLong", Any(toSequence(tooLong)))});
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

// The text as a document can hold it. Control characters other than the tab (a NUL, an
// escape, a form feed...), non-characters and halves of broken surrogate pairs would make
// the office drop the whole text: they go, and the rest stays. A vertical tab or form feed
// separates words, so it becomes a space. Every kind of line break (CR LF, a bare CR or
// LF, the Unicode line and paragraph separators) becomes the office's line break, a new
// line inside the same paragraph, which keeps that paragraph's character look.
QString documentText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            result += QLatin1Char('\n');
        } else if (u == u'\n' || u == 0x2028 || u == 0x2029) {
            result += QLatin1Char('\n');
        } else if (u == 0x0b || u == 0x0c) {
            result += QLatin1Char(' ');
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if ((u < 0x20 && u != u'\t') || c.isSurrogate() || u == 0xfffe || u == 0xffff) {
            continue;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace office
