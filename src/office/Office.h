// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office operations the program uses, as a plain C++ interface. The real
// implementation drives a headless LibreOffice; tests may also use a fake one. Every
// operation throws AppError with a readable description when it fails.

#include "office/TextFit.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace office {

// The formats a document can be exported to besides its own Word 97 format.
enum class ExportFormat { Pdf, Docx, Odt };

class Document {
public:
    virtual ~Document() = default;

    // Fills a bookmark: replaces the bookmark's range with the text; at a collapsed bookmark the
    // text is inserted there. A missing bookmark fails with its name in the description.
    virtual void setBookmarkText(const QString& bookmark, const QString& text) = 0;
    // Makes the text of each box fit it, in the document itself, with the office's own
    // layout: the box grows (as a fixed height, with about half a line to spare) where it
    // may, then the text's size steps down (line spacing in proportion) to the largest size
    // that fits. A box whose text already fits stays exactly as it is. Trailing empty
    // paragraphs of these boxes are dropped: they are never seen, and would only take room.
    // Returns the bookmarks of the boxes whose text does not fit even at the smallest size;
    // those are left at that size and as large as they may be.
    virtual QStringList fitText(const QList<TextFit>& boxes) = 0;
    // Save as: writes the document at the path as a Word 97 document.
    virtual void saveAs(const QString& path) = 0;
    // Closes the document without saving it: only saveAs and exportTo write it.
    virtual void close() = 0;
    // Renders the document's first page as a picture of the given pixel width (the
    // height follows the page's proportions). The picture's dots-per-metre record the
    // page's physical size scaled by logicalScale (1.0 = real size).
    virtual QImage renderPicture(int pixelWidth, double logicalScale) = 0;
    // Writes the document at the path in the given format; the document itself is left as
    // it is. A PDF is the document's pages with every font embedded.
    virtual void exportTo(const QString& path, ExportFormat format) = 0;
};

class Session {
public:
    virtual ~Session() = default;

    // Opens a file hidden; a template is opened as itself, not as a new document.
    // The returned document is also the active document, owned by the application.
    virtual Document& open(const QString& path, bool readOnly) = 0;
    // The document opened last and not yet closed; throws when there is none.
    virtual Document& activeDocument() = 0;
    // Whether later calls may prompt; the program turns prompts off before closing.
    virtual void setDisplayAlerts(bool on) = 0;
    // Quits: ends the session, closing every document it still holds.
    virtual void quit() = 0;
};

class Office {
public:
    virtual ~Office() = default;
    // Starts a session: a new application object. Throws when no office can be started.
    virtual std::unique_ptr<Session> startSession() = 0;
    // Runs work that goes with the office's calls (drawing what the office exported) where
    // the calls run, the caller waiting for it as for a call; its exception comes back. Here
    // and now unless the office runs its calls elsewhere. The work may outlive a caller that
    // gave up waiting: it owns what it uses.
    virtual void runWhereCallsRun(const std::function<void()>& work) { work(); }
};

} // namespace office
