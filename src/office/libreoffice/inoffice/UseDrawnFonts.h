// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Preparing a document to carry its fonts, inside the office (see JobCall.h).

#include <com/sun/star/lang/XComponent.hpp>

#include <map>

#include <rtl/ustring.hxx>

namespace office {

// Renames each font to the family it is drawn with (EmbedFonts.h) in the text and in every
// paragraph and character style, then asks the document's settings to embed the fonts it
// uses. The file the document was opened from is not written.
void useDrawnFonts(
    const ::com::sun::star::uno::Reference<::com::sun::star::lang::XComponent>& document,
    const std::map<::rtl::OUString, ::rtl::OUString>& renames);

} // namespace office
