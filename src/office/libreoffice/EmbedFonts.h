// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <com/sun/star/lang/XComponent.hpp>

namespace office {

// Prepares an open document to carry its fonts when it is written as .docx or .odt. The
// office embeds only fonts installed under the name the document uses, so each of the
// template's fonts that this machine draws with another face (Book Antiqua with P052, Arial
// with Liberation Sans) is renamed to that face first; the document's settings then ask for
// the fonts it uses to be embedded. The file the document was opened from is not written.
void embedDrawnFonts(
    const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document);

} // namespace office
