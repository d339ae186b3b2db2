// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office operations on a headless LibreOffice Writer.

#include "office/libreoffice/LibreOffice.h"

#include "core/Files.h"
#include "office/BmpFile.h"
#include "office/libreoffice/DeferredLayout.h"
#include "office/libreoffice/EmbedFonts.h"
#include "office/libreoffice/Engine.h"
#include "office/libreoffice/HiddenDocument.h"
#include "office/libreoffice/JobCall.h"
#include "office/libreoffice/LongTexts.h"
#include "office/libreoffice/OfficeErrors.h"
#include "office/libreoffice/Properties.h"
#include "office/libreoffice/Renewal.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <vector>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Any;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::Sequence;
using ::com::sun::star::uno::UNO_QUERY;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

namespace {

// A document holding more characters than this is closed at once, not once the office is
// idle (see closeDocument()).
constexpr qsizetype kLongText = 4000;

const QString kClosedDocument = QStringLiteral("The document has already been closed.");
const QString kQuitApplication = QStringLiteral("The office application has already quit.");

class LoSession;

class LoDocument : public Document {
public:
    // longText: the document was opened from a file saved with long texts.
    LoDocument(Engine& engine, unsigned generation, Reference<lang::XComponent> component,
               LongTexts& longTexts, bool longText)
        : mEngine(engine), mGeneration(generation), mComponent(std::move(component)),
          mLongTexts(longTexts), mOpenedLongText(longText) {}

    bool isOpen() const { return mComponent.is(); }

    void setBookmarkText(const QString& bookmark, const QString& text) override {
        requireOpen();
        mEngine.call(mGeneration, [&] {
            if (!mFills)
                mFills = std::make_unique<DeferredLayout>(mComponent);
            // One call: the bookmark is filled inside the office.
            readDoneAnswer(
                mEngine.job()->execute(fillArguments(mComponent, bookmark, documentText(text))));
            mFilledCharacters += text.size();
        });
    }

    QStringList fitText(const QList<TextFit>& boxes) override {
        requireOpen();
        return mEngine.call(mGeneration, [&] {
            // One call: the fit runs inside the office.
            const QStringList tooLong =
                readFitAnswer(mEngine.job()->execute(fitArguments(mComponent, boxes)));
            mFills.reset();
            return tooLong;
        });
    }

    void saveAs(const QString& path) override {
        storeTo(path, QStringLiteral("saved"), "MS Word 97", {});
        mLongTexts.saved(path, holdsLongText());
    }

    void exportTo(const QString& path, ExportFormat format) override {
        switch (format) {
        case ExportFormat::Pdf:
            // Every font goes into the file, the standard PDF faces included, so the page
            // looks the same on a machine without them.
            storeTo(path, QStringLiteral("exported"), "writer_pdf_Export",
                    properties({property("EmbedStandardFonts", Any(true))}));
            return;
        case ExportFormat::Docx:
            embedFonts();
            storeTo(path, QStringLiteral("exported"), "MS Word 2007 XML", {});
            return;
        case ExportFormat::Odt:
            embedFonts();
            // Without the page thumbnail an OpenDocument file carries by default: drawing it
            // took five times as long as writing the whole file.
            storeTo(path, QStringLiteral("exported"), "writer8", {},
                    {property("NoThumbnail", Any(true))});
            return;
        }
        throw AppError(QStringLiteral("Unknown export format."));
    }

    void close() override { closeDocument(); }

    QImage renderPicture(int pixelWidth, double logicalScale) override {
        requireOpen();
        if (pixelWidth <= 0 || !(logicalScale > 0))
            throw AppError(QStringLiteral("Invalid picture size."));
        return mEngine.call(mGeneration, [&] {
            mFills.reset();
            const auto folder = scratchFolder(QStringLiteral("picture"));
            const QString file = folder->filePath(QStringLiteral("page.bmp"));
            // One call: the page is drawn inside the office.
            const DrawnPage page = readDrawnAnswer(mEngine.job()->execute(
                drawArguments(mComponent, toQString(fileUrl(file)), pixelWidth)));
            QImage image = readDrawing(file, QSize(pixelWidth, page.pixelHeight));
            // Dots per metre such that the picture's physical size is the page's, scaled.
            const double pageWidthMetres = page.width / 100000.0 * logicalScale;
            const double pageHeightMetres = page.height / 100000.0 * logicalScale;
            image.setDotsPerMeterX(int(std::lround(image.width() / pageWidthMetres)));
            image.setDotsPerMeterY(int(std::lround(image.height() / pageHeightMetres)));
            return image;
        });
    }

    // Closes without a word; used when the session ends and on destruction.
    void closeQuietly() noexcept {
        if (Engine::processExiting()) {
            // Too late for any UNO call, a release included: let the references go unused.
            new Reference<lang::XComponent>(mComponent);
            (void)mFills.release();
            mComponent.clear();
            return;
        }
        try {
            closeDocument();
        } catch (...) {
            mComponent.clear();
        }
    }

private:
    void requireOpen() const {
        if (!mComponent.is())
            throw AppError(kClosedDocument);
    }

    // The fonts the document is drawn with travel inside the .docx and .odt, so that the
    // recipient's office shows the invitation as the preview does.
    void embedFonts() {
        requireOpen();
        // One call: the fonts are renamed inside the office.
        const QList<QPair<QString, QString>> renames = drawnFontRenames();
        mEngine.call(mGeneration, [&] {
            readDoneAnswer(mEngine.job()->execute(embedArguments(mComponent, renames)));
        });
    }

    // Writes the document at the path through an office filter; the document stays as it is.
    void storeTo(const QString& path, const QString& done, const char* filter,
                 const Sequence<beans::PropertyValue>& filterData,
                 std::initializer_list<beans::PropertyValue> more = {}) {
        requireOpen();
        // The office would create missing folders; a save names an existing one.
        const QFileInfo target(path);
        if (path.isEmpty() || !target.absoluteDir().exists())
            throw AppError(QStringLiteral("The document could not be %1 as '%2': the folder does "
                                          "not exist; choose another folder.")
                               .arg(done, path));
        if (target.isDir())
            throw AppError(QStringLiteral("The document could not be %1 as '%2': it is a folder; "
                                          "choose another name.")
                               .arg(done, path));
        mEngine.call(mGeneration, [&] {
            mFills.reset();
            const Reference<frame::XStorable> storable(mComponent, UNO_QUERY_THROW);
            Sequence<beans::PropertyValue> args = properties({
                property("FilterName", Any(OUString::createFromAscii(filter))),
                property("Overwrite", Any(true)),
            });
            if (filterData.hasElements())
                args = withProperty(args, property("FilterData", Any(filterData)));
            for (const beans::PropertyValue& p : more)
                args = withProperty(args, p);
            try {
                // storeToURL, not storeAsURL: a read-only document can be written elsewhere.
                storable->storeToURL(fileUrl(path), args);
            } catch (const io::IOException& e) {
                throw AppError(withOfficeDetail(
                    QStringLiteral("The document could not be %1 as '%2'; check that the folder "
                                   "can be written to and has room.")
                        .arg(done, path),
                    toQString(e.Message)));
            }
        });
    }

    // The page the office drew into the file, at exactly the size asked.
    static QImage readDrawing(const QString& file, const QSize& pixels) {
        QFile drawing(file);
        const QByteArray bytes =
            drawing.open(QIODevice::ReadOnly) ? drawing.readAll() : QByteArray();
        const QImage image = exactly(bytes, pixels);
        if (image.isNull())
            throw AppError(QStringLiteral(
                "The office could not render the document to a picture; try again."));
        return image;
    }

    // The office draws the page at the size asked and may add a blank pixel on the right and
    // at the bottom: that edge is left out, so the page keeps its exact pixels. Any other size
    // is brought to the one asked.
    static QImage exactly(const QByteArray& bytes, const QSize& pixels) {
        const QSize extra = bmpSize(bytes) - pixels;
        if (extra.width() >= 0 && extra.width() <= 1 && extra.height() >= 0 && extra.height() <= 1)
            return readBmp(bytes, pixels);
        const QImage image = readBmp(bytes);
        return image.isNull()
                   ? image
                   : image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    // Whether the document holds more than a short invitation's text: filled with it, or
    // opened from a file saved with it.
    bool holdsLongText() const { return mOpenedLongText || mFilledCharacters > kLongText; }

    // The document is the program's no longer; the office closes it once it is idle. One
    // with long texts is closed at once: while it waited, the office would lay it out in its
    // idle moments, between every call of the next request (which then took seconds to fill
    // long texts of its own).
    void closeDocument() {
        requireOpen();
        Reference<lang::XComponent> component = std::exchange(mComponent, {});
        if (mGeneration != mEngine.generation() || !mEngine.alive()) {
            mFills.reset();
            return; // the office that held it is gone, and the document with it
        }
        if (!holdsLongText()) {
            mEngine.closeWhenIdle(std::move(component), std::move(mFills));
            return;
        }
        mEngine.call(mGeneration, [&] {
            mFills.reset();
            closeOrDispose(component);
        });
    }

    Engine& mEngine;
    unsigned mGeneration;
    Reference<lang::XComponent> mComponent;
    // The fills are laid out together, once the document is measured, saved, drawn or closed.
    std::unique_ptr<DeferredLayout> mFills;
    LongTexts& mLongTexts;
    const bool mOpenedLongText;
    qsizetype mFilledCharacters = 0;
};

class LoSession : public Session {
public:
    // The session keeps its engine alive, also after a successor has taken over. Only
    // sessions for the program count towards the office's share.
    LoSession(std::shared_ptr<Engine> engine, std::shared_ptr<LongTexts> longTexts,
              bool forTheProgram = true)
        : mKeep(std::move(engine)), mEngine(*mKeep), mGeneration(mEngine.generation()),
          mLongTexts(std::move(longTexts)) {
        mEngine.sessionOpened(forTheProgram);
    }

    ~LoSession() override {
        if (!mQuit)
            endSession();
    }

    Document& open(const QString& path, bool readOnly) override {
        requireSession();
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile())
            throw AppError(QStringLiteral("The file '%1' was not found.").arg(path));
        // The template opened ahead, when this is the template; otherwise the office reads it.
        Reference<lang::XComponent> component =
            mEngine.takeTemplateAhead(mGeneration, path, readOnly);
        if (!component.is())
            component = mEngine.call(mGeneration,
                                     [&] { return openHiddenDocument(mEngine, path, readOnly); });
        mDocuments.push_back(std::make_unique<LoDocument>(mEngine, mGeneration, component,
                                                          *mLongTexts, mLongTexts->holds(path)));
        return *mDocuments.back();
    }

    Document& activeDocument() override {
        requireSession();
        for (auto it = mDocuments.rbegin(); it != mDocuments.rend(); ++it)
            if ((*it)->isOpen())
                return **it;
        throw AppError(
            QStringLiteral("This command is not available because no document is open."));
    }

    void setDisplayAlerts(bool on) override {
        requireSession();
        // A headless office never asks, so there is nothing to switch off.
        (void)on;
    }

    void quit() override {
        if (mQuit)
            throw AppError(kQuitApplication);
        endSession();
    }

private:
    void requireSession() const {
        if (mQuit)
            throw AppError(kQuitApplication);
    }

    void endSession() noexcept {
        mQuit = true;
        for (auto& document : mDocuments)
            if (document->isOpen())
                document->closeQuietly();
        if (mGeneration == mEngine.generation())
            mEngine.sessionClosed();
    }

    std::shared_ptr<Engine> mKeep;
    Engine& mEngine;
    unsigned mGeneration;
    std::shared_ptr<LongTexts> mLongTexts; // outlives the documents that refer to it
    std::vector<std::unique_ptr<LoDocument>> mDocuments;
    bool mQuit = false;
};

// An office loads its Word filters, its layout and its picture export at their first use,
// which made the first click a new office served about 75 ms slower than the others. A
// successor (or a replacement) rehearses a request on the small document its warm-up
// saved: open, load the fit of texts into the office (with no box to fit), save as Word,
// close, reopen, render page pictures of about the preview's size (its buffers are then in
// place too), close. Failures are ignored, as in the warm-up; the files go.
//
// An office's first two page pictures take 40 to 90 ms more than the later ones, and the
// third 10 to 20 ms more (the same document drawn again, at any width): with one picture
// rehearsed, the first click a successor served drew its page in 60 to 80 ms instead of 10.
constexpr int kRehearsedPictures = 3;
void rehearse(const std::shared_ptr<Engine>& engine, const QString& document) {
    if (document.isEmpty())
        return;
    const QString saved = document + QStringLiteral(".saved.doc");
    try {
        LoSession session(engine, std::make_shared<LongTexts>(), false);
        Document& opened = session.open(document, false);
        opened.fitText({});
        opened.saveAs(saved);
        opened.close();
        Document& reopened = session.open(saved, false);
        for (int i = 0; i < kRehearsedPictures; ++i)
            reopened.renderPicture(800, 1.0);
        reopened.close();
        session.quit();
    } catch (const std::exception&) {
        // The office is no warmer, and no worse: the first request does what this did not.
    }
    QFile::remove(document);
    QFile::remove(saved);
}

} // namespace

LibreOffice::LibreOffice(LibreOfficeOptions options)
    : mLongTexts(std::make_shared<LongTexts>()),
      mRenewal(
          std::make_unique<Renewal>(std::move(options), [](const std::shared_ptr<Engine>& engine) {
              rehearse(engine, engine->warmUp());
              engine->markRehearsed();
              engine->useIdle();
          })) {}

LibreOffice::~LibreOffice() = default;

std::unique_ptr<Session> LibreOffice::startSession() {
    const Renewal::Hold hold(*mRenewal);
    mRenewal->takeOverFromSuccessor();
    Engine& engine = *mRenewal->current();
    engine.ensureRunning();
    // A cheap question proves the office answers; one that died since the last session
    // is replaced by a new one.
    try {
        engine.call(engine.generation(), [&] { engine.desktop()->getCurrentComponent(); });
    } catch (const AppError&) {
        engine.stop();
        engine.ensureRunning();
    }
    auto session = std::make_unique<LoSession>(mRenewal->current(), mLongTexts);
    if (engine.servedItsShare())
        mRenewal->renewInBackground();
    return session;
}

Engine& LibreOffice::engine() {
    return *mRenewal->current();
}

pid_t LibreOffice::processId() const {
    return mRenewal->current()->processId();
}

std::function<void()> LibreOffice::officeEnder() const {
    return mRenewal->current()->ender();
}

void LibreOffice::shutdown() {
    const Renewal::Hold hold(*mRenewal);
    mRenewal->dropSuccessor();
    mRenewal->current()->stop();
}

std::unique_ptr<LibreOffice> makeLibreOffice(LibreOfficeOptions options) {
    return std::make_unique<LibreOffice>(std::move(options));
}

} // namespace office
