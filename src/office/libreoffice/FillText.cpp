// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/FillText.h"

#include "core/AppError.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/text/XBookmarksSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <algorithm>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

// The office takes a time in the square of a string's length to insert some characters
// (32,767 private-use characters took 5 s in one insert, a few milliseconds in pieces), so a
// long text goes in piece by piece. The first piece and a stand-in character replace what
// the bookmark covers, as a short text does; the other pieces go in before the stand-in, so
// inside a bookmark that spans its text, and the stand-in goes. The cursor that puts them
// in was at the bookmark's start and moved on with every insert. (A piece may end between
// the halves of a pair: this runs inside the office, where the halves meet again.)
constexpr qsizetype kInsertedAtOnce = 1000;

void putAtBookmark(const Reference<text::XTextContent>& mark, const QString& text) {
    const Reference<text::XTextRange> anchor = mark->getAnchor();
    if (text.size() <= kInsertedAtOnce) {
        anchor->setString(toOUString(text));
        return;
    }
    const Reference<text::XText> holder = anchor->getText();
    const Reference<text::XTextCursor> next = holder->createTextCursorByRange(anchor->getStart());
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = std::min(kInsertedAtOnce, text.size() - at);
        const OUString piece = toOUString(text.mid(at, length));
        if (at == 0) {
            anchor->setString(piece + "x");
            next->goLeft(1, false);
        } else {
            holder->insertString(Reference<text::XTextRange>(next, UNO_QUERY_THROW), piece, false);
        }
        at += length;
    }
    next->goRight(1, true);
    next->setString(OUString());
}

} // namespace

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

Reference<text::XTextContent> namedBookmark(const Reference<lang::XComponent>& document,
                                            const QString& bookmark) {
    try {
        return Reference<text::XTextContent>(
            Reference<text::XBookmarksSupplier>(document, UNO_QUERY_THROW)
                ->getBookmarks()
                ->getByName(toOUString(bookmark)),
            UNO_QUERY_THROW);
    } catch (const container::NoSuchElementException&) {
        throw AppError(
            QStringLiteral("The bookmark '%1' does not exist in the document.").arg(bookmark));
    }
}

void fillBookmark(const Reference<lang::XComponent>& document, const QString& bookmark,
                  const QString& text) {
    // Replaces everything the bookmark covers, fields included; at a collapsed bookmark the
    // text is inserted there.
    putAtBookmark(namedBookmark(document, bookmark), text);
}

} // namespace office
