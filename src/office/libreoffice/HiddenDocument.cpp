// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/HiddenDocument.h"

#include "core/AppError.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFile>

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

// A Word 97 document: named .doc and an OLE compound file, as the program saves its
// documents. Told to the office, which then asks only that filter's detector instead of
// probing the file with each of its import filters (about 1.5 ms of an open).
bool looksLikeWord97(const QString& path) {
    static const QByteArray kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    QFile file(path);
    return path.endsWith(QLatin1String(".doc"), Qt::CaseInsensitive) &&
           file.open(QIODevice::ReadOnly) && file.read(8) == kCompoundFile;
}

// The document loaded into a kept frame, or else a new one; null when the office opened
// nothing. Throws only when the office is gone.
Reference<lang::XComponent> loadHidden(Engine& engine, const OUString& url,
                                       const uno::Sequence<beans::PropertyValue>& args) {
    Reference<lang::XComponent> loaded;
    if (const Reference<frame::XFrame> spare = engine.spareFrames().take(); spare.is()) {
        try {
            loaded = Reference<frame::XComponentLoader>(spare, UNO_QUERY_THROW)
                         ->loadComponentFromURL(url, OUString("_self"), 0, args);
        } catch (const uno::Exception&) {
            if (!engine.alive())
                throw;
        }
        if (loaded.is())
            return loaded;
        disposeQuietly(spare);
    }
    try {
        const Reference<frame::XComponentLoader> loader(engine.desktop(), UNO_QUERY_THROW);
        loaded = loader->loadComponentFromURL(url, OUString("_blank"), 0, args);
    } catch (const uno::Exception&) {
        if (!engine.alive())
            throw;
    }
    return loaded;
}
} // namespace

Reference<lang::XComponent> openHiddenDocument(Engine& engine, const QString& path, bool readOnly) {
    const uno::Sequence<beans::PropertyValue> args = properties({
        property("Hidden", Any(true)),
        property("ReadOnly", Any(readOnly)),
        // A template opens as itself, not as a new document made from it.
        property("AsTemplate", Any(false)),
        // A document's macros never run.
        property("MacroExecutionMode", Any(document::MacroExecMode::NEVER_EXECUTE)),
        property("UpdateDocMode", Any(document::UpdateDocMode::NO_UPDATE)),
    });
    const OUString url = fileUrl(path);
    Reference<lang::XComponent> loaded;
    if (looksLikeWord97(path))
        loaded = loadHidden(
            engine, url, withProperty(args, property("FilterName", Any(OUString("MS Word 97")))));
    // Not Word 97 after all, or another file: the office tells what it is.
    if (!loaded.is())
        loaded = loadHidden(engine, url, args);
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
