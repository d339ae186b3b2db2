// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office engine: one office process on a private profile, reached over a private pipe,
// every call bounded in time. It composes the office's processes (OfficeProcess), its
// profile (Profile), the connection (UnoConnection) and the call bound (CallWatchdog).
//
// Threads (docs/architecture.md has the whole picture): an engine is used by the one thread
// that holds it (the window thread, the renewal worker while it starts a successor, a retire
// thread, the exit handler), handed over under the renewal's lock. Its watchdog thread and
// the bridge's listener thread reach only the status (OfficeStatus, one lock) and the
// bridge (UnoConnection's lock); any thread may read the status and counters, or abandon().

#include "office/libreoffice/Engine.h"

#include "office/libreoffice/OfficeCommand.h"
#include "office/libreoffice/OfficeErrors.h"
#include "office/libreoffice/OfficePipes.h"
#include "office/libreoffice/ProgramExit.h"
#include "office/libreoffice/UnoText.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>

#include <QScopeGuard>

#include <csignal>
#include <thread>
#include <unistd.h>

using namespace ::com::sun::star;
using ::com::sun::star::uno::Reference;
using ::com::sun::star::uno::UNO_QUERY_THROW;
using ::rtl::OUString;

namespace office {

Engine::Engine(LibreOfficeOptions options, std::function<void()> officeChanged)
    : mOptions(std::move(options)), mOfficeChanged(std::move(officeChanged)),
      mStatus(std::make_shared<OfficeStatus>()), mConnection(mStatus, mOfficeChanged),
      mWatchdog([this] { mStatus->killOffice(); }, [this] { mConnection.drop(); }),
      mTemplateAhead(mOptions.templateAhead) {
    // Writing to the pipe of an office that just died must fail the call, not end the
    // program with SIGPIPE.
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        ::signal(SIGPIPE, SIG_IGN);
}

Engine::~Engine() {
    programExit::removeEngine(*this);
    try {
        stop();
    } catch (...) {
        // A destructor cannot fail; the office's guard ends whatever is left of it.
    }
}

bool Engine::processExiting() {
    return programExit::exiting();
}

void Engine::abandon() {
    mAbandoned = true;
    mStatus->killOffice();
}

void Engine::requireNotAbandoned() const {
    if (mAbandoned)
        throw AppError(QStringLiteral("The office was ended because the program is ending."));
}

void Engine::sessionClosed() {
    if (--mOpenSessions == 0 && mOfficeChanged)
        mOfficeChanged();
}

void Engine::requireGeneration(unsigned officeGeneration) {
    requireNotAbandoned();
    if (officeGeneration != mGeneration || mStatus->office() == 0)
        throw AppError(QStringLiteral("The office that held this document has ended; try again."));
    if (!alive()) {
        stop();
        throw AppError(describeOfficeFailure(OfficeFailure::Stopped, {}));
    }
}

void Engine::translateCurrentException() {
    const bool timedOut = mWatchdog.takeTimeout();
    // A disposed object means the office (or its connection) went away under us.
    bool disposed = false;
    QString message;
    try {
        throw;
    } catch (const lang::DisposedException& e) {
        disposed = true;
        message = toQString(e.Message);
    } catch (const uno::Exception& e) {
        message = toQString(e.Message);
    } catch (...) {
        // A failure of another kind carries no text of the office's.
    }
    if (timedOut || disposed || !alive()) {
        stop();
        throw AppError(timedOut
                           ? describeOfficeFailure(OfficeFailure::TimedOut, {}, mWatchdog.limit())
                           : describeOfficeFailure(OfficeFailure::Stopped, message));
    }
    throw AppError(describeOfficeFailure(OfficeFailure::Refused, message));
}

bool Engine::alive() {
    if (mStatus->gone() || !mConnection.desktop().is())
        return false;
    return !mProcess.hasEnded();
}

Reference<uno::XComponentContext> Engine::context() {
    ensureRunning();
    return mConnection.context();
}

Reference<frame::XDesktop2> Engine::desktop() {
    ensureRunning();
    return mConnection.desktop();
}

void Engine::ensureRunning() {
    if (mStatus->office() != 0 && !alive())
        stop();
    if (mStatus->office() != 0)
        return;
    // The program's own UNO set-up and the connection raise exceptions of their own kinds;
    // they reach the user as readable text.
    try {
        mStatus->beginStart();
        const auto started = qScopeGuard([this] { mStatus->endStart(); });
        start();
    } catch (const AppError&) {
        throw;
    } catch (const cppu::BootstrapException& e) {
        throw AppError(withOfficeDetail(
            QStringLiteral("The office could not be started because its runtime could not be "
                           "set up; check that LibreOffice is installed."),
            toQString(e.getMessage())));
    } catch (const uno::Exception& e) {
        throw AppError(withOfficeDetail(
            QStringLiteral("The office could not be reached; try again."), toQString(e.Message)));
    }
}

QString Engine::warmUp() {
    QString saved;
    try {
        call(mGeneration, [&] {
            const Reference<frame::XComponentLoader> loader(mConnection.desktop(), UNO_QUERY_THROW);
            const Reference<util::XCloseable> document(
                loader->loadComponentFromURL(OUString("private:factory/swriter"),
                                             OUString("_blank"), 0,
                                             properties({property("Hidden", uno::Any(true))})),
                UNO_QUERY_THROW);
            const auto closed = qScopeGuard([&] {
                try {
                    document->close(true);
                } catch (const uno::Exception&) {
                    // Left to the office, which is no worse for it.
                }
            });
            Reference<text::XTextDocument>(document, UNO_QUERY_THROW)
                ->getText()
                ->setString(OUString("Festoria"));
            const QString path = mProfile.temporaryFolder() + QStringLiteral("/warm-up.doc");
            Reference<frame::XStorable>(document, UNO_QUERY_THROW)
                ->storeToURL(fileUrl(path),
                             properties({property("FilterName", uno::Any(OUString("MS Word 97"))),
                                         property("Overwrite", uno::Any(true))}));
            saved = path;
        });
    } catch (const AppError&) {
        // No warmer, and no worse: the first request loads what the warm-up did not.
    }
    return saved;
}

bool Engine::templateAheadWanted() {
    return mTemplateAhead.wanted(mGeneration) && mStatus->office() != 0 && alive();
}

void Engine::openTemplateAhead() noexcept {
    if (!templateAheadWanted())
        return;
    try {
        call(mGeneration,
             [&] { mTemplateAhead.open(*this, mGeneration, mProfile.temporaryFolder()); });
    } catch (const std::exception&) {
        // The next request opens its template itself, as it would without this.
    }
}

Reference<lang::XComponent> Engine::takeTemplateAhead(unsigned officeGeneration,
                                                      const QString& path, bool readOnly) {
    if (officeGeneration != mGeneration)
        return {};
    return mTemplateAhead.take(officeGeneration, path, readOnly);
}

void closeOrDispose(const Reference<lang::XComponent>& document) {
    const Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
    try {
        if (closeable.is()) {
            closeable->close(true);
            return;
        }
    } catch (const util::CloseVetoException&) {
        // Someone holds on to it: it is disposed instead.
    }
    document->dispose();
}

void Engine::closeWhenIdle(Reference<lang::XComponent> document,
                           std::unique_ptr<DeferredLayout> fills) {
    // Only the documents of the latest request wait: with no idle moment between requests,
    // what waits is closed in one go.
    constexpr size_t kMostLeftToClose = 2;
    if (mLeftToClose.size() >= kMostLeftToClose)
        closeLeftDocuments();
    mLeftToClose.push_back({std::move(document), std::move(fills)});
    mLeftToCloseCount = int(mLeftToClose.size());
}

void Engine::useIdle() noexcept {
    closeLeftDocuments();
    openTemplateAhead();
}

// Closed in order while the office still answers (its fills laid out first, as the office
// expects of a locked document); with an office that died they go with the office.
void Engine::closeLeftDocuments() noexcept {
    std::vector<LeftToClose> left = std::exchange(mLeftToClose, {});
    if (processExiting()) {
        // Too late for any UNO call, a release included: the references go unused.
        for (LeftToClose& entry : left) {
            new Reference<lang::XComponent>(std::move(entry.document));
            (void)entry.fills.release();
        }
        mLeftToCloseCount = 0;
        return;
    }
    for (LeftToClose& entry : left)
        if (!closeWhileAnswering(entry.document, std::move(entry.fills)))
            break;
    mLeftToCloseCount = 0;
}

// Closes a document in an office that still answers, its fills laid out first, within a
// bound; false when the office answers no more: its end closes the document.
bool Engine::closeWhileAnswering(const Reference<lang::XComponent>& document,
                                 std::unique_ptr<DeferredLayout> fills) noexcept {
    if (mAbandoned || mStatus->connectionLost() || !mConnection.desktop().is())
        return false;
    try {
        CallWatchdog::Bound bound(mWatchdog, std::chrono::milliseconds(5000));
        fills.reset();
        mSpareFrames.keepFrameOf(document);
        closeOrDispose(document);
    } catch (const uno::Exception&) {
        // The office's end closes it.
    }
    mWatchdog.takeTimeout();
    return true;
}

// The copy opened ahead is closed in order while the office still answers; with an office
// that died it goes with the office.
void Engine::closeTemplateAhead() noexcept {
    if (const Reference<lang::XComponent> document = mTemplateAhead.release(); document.is())
        closeWhileAnswering(document, nullptr);
}

// The start, in named steps: the program and its profile, the office's process under its
// keeper and guard, the connection, and the exit handler that ends it with the program.
void Engine::start() {
    requireNotAbandoned();
    const QString program = resolveOfficeProgram(mOptions.program);
    mProfile.choose();
    localContext();
    spawn(program);
    try {
        connect(program, std::chrono::steady_clock::now() + mOptions.startTimeout);
    } catch (...) {
        stop();
        throw;
    }
    programExit::registerHandler();
    programExit::addEngine(*this);
}

void Engine::spawn(const QString& program) {
    mPipeName = newPipeName();
    const QList<QByteArray> environment =
        officeEnvironment(mProfile.freshTemporaryFolder(), mProfile.url());
    const pid_t office =
        mProcess.spawn(officeArguments(program, mPipeName), environment, mProfile.logPath());
    mStatus->spawned(office);
    ++mGeneration;
    mRehearsed = false;
    mSessionsServed = 0;
    mOpenSessions = 0;
    mProfile.noteOffice(office);
}

// A fresh profile makes the office exit once (code 81) and start again, so the first
// connection may die under our hands: keep trying until the deadline.
void Engine::connect(const QString& program, std::chrono::steady_clock::time_point deadline) {
    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    CallWatchdog::Bound bound(mWatchdog, limit);
    for (;;) {
        requireNotAbandoned();
        if (mWatchdog.timedOut() || std::chrono::steady_clock::now() >= deadline)
            throw AppError(
                QStringLiteral("The office program '%1' did not answer within %2 seconds of its "
                               "start; try again.")
                    .arg(program)
                    .arg(double(mOptions.startTimeout.count()) / 1000.0));
        QString how;
        bool killed = false;
        if (mProcess.hasEnded(&how, &killed))
            throw AppError(
                killed ? QStringLiteral("The office program '%1' was ended %2 while it started; "
                                        "something outside the program ended it. Try again.")
                             .arg(program, how)
                       : QStringLiteral("The office program '%1' ended as soon as it started%2; "
                                        "check that LibreOffice is installed and works.")
                             .arg(program, how.isEmpty() ? QString() : QStringLiteral(", ") + how));
        try {
            mConnection.open(mPipeName);
            Profile::configure(mConnection.context());
            return;
        } catch (const connection::NoConnectException&) {
            // No office listens yet: try again.
        } catch (const uno::Exception&) {
            mConnection.close(); // the office restarting with its fresh profile
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// Asks the office to end in order, briefly bounded; a dead or hung one is killed after.
void Engine::askToTerminate() {
    if (!mConnection.desktop().is() || mStatus->connectionLost())
        return;
    try {
        CallWatchdog::Bound bound(mWatchdog, std::chrono::milliseconds(5000));
        mConnection.desktop()->terminate();
    } catch (const uno::Exception&) {
        // It is killed below whether or not it answered.
    }
    mWatchdog.takeTimeout();
}

void Engine::stop() {
    closeLeftDocuments(); // with no office running, they only go
    mJob.forget(processExiting());
    if (mStatus->office() == 0)
        return;
    mStatus->beginStop();
    closeTemplateAhead();
    mSpareFrames.forget();
    askToTerminate();
    mConnection.close();
    mProcess.waitForEnd(std::chrono::milliseconds(5000));
    // No one may kill the office's group by its id once end() has collected it.
    mStatus->stopped();
    mProcess.end();
    // The pipes of a killed office stay behind as socket files.
    removeDeadPipe(acceptPipePath(mPipeName));
    mProfile.officeEnded();
    mOpenSessions = 0;
    mSessionsServed = 0;
}

// ---------------------------------------------------------------------------------------

Reference<uno::XComponentContext> unoContext(LibreOffice& office) {
    return office.engine().context();
}

Reference<frame::XDesktop2> unoDesktop(LibreOffice& office) {
    return office.engine().desktop();
}

} // namespace office
