// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Drawing a document's first page into a bitmap file, inside the office (see JobCall.h).

#include "office/libreoffice/JobCall.h"

#include <com/sun/star/uno/XComponentContext.hpp>

namespace office {

// The first page drawn by the office into the file at the URL, as an uncompressed bitmap the
// width given and the page's proportions high. At the width the page has at the screen's
// resolution (the preview's), the page is drawn once straight onto a device; at any other,
// by the office's picture export as "Export as Image" uses it (which may add a blank pixel at
// the right and the bottom). Throws AppError when the document has no page size or nothing
// was drawn.
DrawnPage drawFirstPage(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& office,
    const DocumentRef& document, const QString& fileUrl, int pixelWidth);

} // namespace office
