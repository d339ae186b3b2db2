// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/inoffice/FillText.h"

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
