// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/HiddenDocument.h"

#include "core/AppError.h"
#include "office/libreoffice/UnoEngine.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {
void disposeQuietly(const Reference<frame::XFrame>& frame) {
    try {
        frame->dispose();
    } catch (const uno::Exception&) {
        // A frame that failed to open a document goes with the office.
    }
}
} // namespace

Reference<lang::XComponent> openHiddenDocument(Engine& engine, const QString& path, bool readOnly) {
    const Reference<frame::XComponentLoader> loader(engine.desktop(), UNO_QUERY_THROW);
    const uno::Sequence<beans::PropertyValue> args = properties({
        property("Hidden", Any(true)),
        property("ReadOnly", Any(readOnly)),
        // A template opens as itself, not as a new document made from it.
        property("AsTemplate", Any(false)),
        // A document's macros never run.
        property("MacroExecutionMode", Any(document::MacroExecMode::NEVER_EXECUTE)),
        property("UpdateDocMode", Any(document::UpdateDocMode::NO_UPDATE)),
    });
    Reference<lang::XComponent> loaded;
    if (const Reference<frame::XFrame> spare = engine.spareFrames().take(); spare.is()) {
        try {
            loaded = Reference<frame::XComponentLoader>(spare, UNO_QUERY_THROW)
                         ->loadComponentFromURL(fileUrl(path), OUString("_self"), 0, args);
        } catch (const uno::Exception&) {
            if (!engine.alive())
                throw;
        }
        if (!loaded.is())
            disposeQuietly(spare);
    }
    try {
        if (!loaded.is())
            loaded = loader->loadComponentFromURL(fileUrl(path), OUString("_blank"), 0, args);
    } catch (const uno::Exception&) {
        if (!engine.alive())
            throw;
    }
    if (!loaded.is())
        throw AppError(
            QStringLiteral("The office could not open '%1'; check that it is a Word document.")
                .arg(path));
    if (!Reference<text::XTextDocument>(loaded, UNO_QUERY).is()) {
        Reference<util::XCloseable> c(loaded, UNO_QUERY);
        try {
            if (c.is())
                c->close(true);
        } catch (const uno::Exception&) {
            // The session's end closes what this could not.
        }
        throw AppError(QStringLiteral("'%1' is not a text document.").arg(path));
    }
    return loaded;
}

} // namespace office
