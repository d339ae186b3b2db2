// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Filling a bookmark with a text, inside the office (see JobCall.h).

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XTextContent.hpp>

#include <QString>

namespace office {

// The document's bookmark of that name; throws AppError when it has none.
::com::sun::star::uno::Reference<::com::sun::star::text::XTextContent>
namedBookmark(const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
              const QString& bookmark);

// Replaces what the bookmark covers with the text (a document's, see above); throws AppError
// when the document has no such bookmark, UNO exceptions as the office raises them.
void fillBookmark(
    const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
    const QString& bookmark, const QString& text);

} // namespace office
