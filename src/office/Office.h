#pragma once

// The office operations the program uses (W1..W9), as a plain C++ interface. The real
// implementation drives a headless LibreOffice; tests may also use a fake one. Every
// operation throws AppError with a readable description when it fails.

#include <QImage>
#include <QString>

#include <memory>

namespace office {

class Document {
public:
    virtual ~Document() = default;

    // W3: replaces the bookmark's range with the text; at a collapsed bookmark the text
    // is inserted there. A missing bookmark fails with its name in the description.
    virtual void setBookmarkText(const QString& bookmark, const QString& text) = 0;
    // W4: writes the document at the path as a Word 97 document.
    virtual void saveAs(const QString& path) = 0;
    // W6: closes the document.
    virtual void close() = 0;
    // W7: renders the document's first page as a picture of the given pixel width (the
    // height follows the page's proportions). The picture's dots-per-metre record the
    // page's physical size scaled by logicalScale (1.0 = real size).
    virtual QImage renderPicture(int pixelWidth, double logicalScale) = 0;
    // W8: closes the document without saving.
    virtual void closeWithoutSaving() = 0;
};

class Application {
public:
    virtual ~Application() = default;

    // W2: opens a file hidden; a template is opened as itself, not as a new document.
    // The returned document is also the active document, owned by the application.
    virtual Document& open(const QString& path, bool readOnly) = 0;
    // The document opened last and not yet closed; throws when there is none.
    virtual Document& activeDocument() = 0;
    // W5: no prompts from later calls.
    virtual void setDisplayAlerts(bool on) = 0;
    // W9: ends the session, closing every document it still holds.
    virtual void quit() = 0;
};

class Office {
public:
    virtual ~Office() = default;
    // W1: a new application object (a session). Throws when no office can be started.
    virtual std::unique_ptr<Application> createApplication() = 0;
};

} // namespace office
