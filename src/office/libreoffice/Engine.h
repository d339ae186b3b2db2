// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The UNO side of the office engine: the one headless LibreOffice process, its private
// profile, the connection to it and the time bound on every call. Only the office layer and
// the tools that build documents with the full Writer API include this header; the rest
// of the program uses Office.h / LibreOffice.h.
//
// A tool reaches the program's office like this:
//
//     auto lo = office::makeLibreOffice();              // LibreOffice.h
//     auto desktop = office::unoDesktop(*lo);           // starts the office
//     auto context = office::unoContext(*lo);
//     ... desktop->loadComponentFromURL(...) ...
//     // ~LibreOffice ends the office process
//
// A tool or test target that includes this header links festoria_libreoffice_uno, which
// festoria_uno_headers(festoria_libreoffice EXPORT ...) makes (see this folder's
// CMakeLists.txt): it passes on the SDK's headers and the generated headers of every type the
// engine lists. The target generates any other type it uses with festoria_uno_headers().

#include "core/AppError.h"
#include "office/libreoffice/CallWatchdog.h"
#include "office/libreoffice/DeferredLayout.h"
#include "office/libreoffice/JobLoader.h"
#include "office/libreoffice/LibreOffice.h"
#include "office/libreoffice/OfficeProcess.h"
#include "office/libreoffice/OfficeStatus.h"
#include "office/libreoffice/Profile.h"
#include "office/libreoffice/SpareFrames.h"
#include "office/libreoffice/TemplateAhead.h"
#include "office/libreoffice/UnoConnection.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace office {

namespace css = ::com::sun::star;

// Closes the document, or disposes of it when something holds on to it. Throws as UNO does.
void closeOrDispose(const css::uno::Reference<css::lang::XComponent>& document);

// The running office's component context; starts the office when none runs. Throws AppError.
css::uno::Reference<css::uno::XComponentContext> unoContext(LibreOffice& office);
// The running office's desktop (loadComponentFromURL, terminate); starts it when needed.
css::uno::Reference<css::frame::XDesktop2> unoDesktop(LibreOffice& office);

class Engine {
public:
    // officeChanged is called, from any thread, when the connection to the office is lost
    // and when the last open session closes: the owner may then replace a dead office.
    explicit Engine(LibreOfficeOptions options, std::function<void()> officeChanged = {});
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Starts the office when none runs or when the running one died. Throws AppError when no
    // office answers.
    void ensureRunning();
    // Ends the office process (asks it to terminate, then kills what lingers).
    void stop();
    // Has a fresh office load its text module once (a small hidden document, saved as a
    // Word document in the office's temporary folder and closed), so that the first
    // document it opens for the program is not the slow one. Returns the saved document's
    // path, empty when anything failed: the office is then no warmer, and no worse.
    QString warmUp();

    // The template opened ahead (see TemplateAhead.h), by the engine's holder. Opening never
    // throws: a copy that could not be opened is only a request that reads its file itself.
    bool templateAheadWanted();
    void openTemplateAhead() noexcept;
    // The copy for an open() of the file at the path; null when the file is another.
    css::uno::Reference<css::lang::XComponent>
    takeTemplateAhead(unsigned officeGeneration, const QString& path, bool readOnly);
    // Any thread: a copy is open; how many opens have taken one.
    bool templateAheadOpen() const { return mTemplateAhead.isOpen(); }
    int templatesTakenAhead() const { return mTemplateAhead.taken(); }

    // A document the program has closed, closed in the office once the office is idle, out
    // of the request's way (each close took 5 to 6 ms of a click), with its fills' layout
    // lock, by the engine's holder. At most the latest request's wait; none outlives the office.
    void closeWhenIdle(css::uno::Reference<css::lang::XComponent> document,
                       std::unique_ptr<DeferredLayout> fills);
    // Any thread: how many documents wait to be closed.
    int documentsLeftToClose() const { return mLeftToCloseCount; }
    // The hidden frames of closed documents, to open the next documents in; by the holder.
    SpareFrames& spareFrames() { return mSpareFrames; }
    // The renewal worker, in an idle office it borrows (or a successor before it serves):
    // the documents left to close, then the template ahead. Never throws.
    void useIdle() noexcept;
    // Whether the running office has rehearsed a request (see LibreOffice.cpp), for any
    // thread; set by the rehearsal's holder, cleared at every office start.
    bool rehearsed() const { return mRehearsed; }
    void markRehearsed() { mRehearsed = true; }

    pid_t processId() const { return mStatus->office(); }
    // Kills this engine's office, from any thread, as long as it runs: the engine forgets the
    // office's id before it collects the ended process.
    std::function<void()> ender() const {
        return [status = mStatus] { status->killOffice(); };
    }
    // Counts office starts: objects obtained from an earlier office are dead.
    unsigned generation() const { return mGeneration; }
    // True while the office process runs and the connection to it stands.
    bool alive();

    css::uno::Reference<css::uno::XComponentContext> context();
    css::uno::Reference<css::frame::XDesktop2> desktop();
    // The program's work inside the running office (see JobCall.h); inside a call.
    css::uno::Reference<css::task::XJob> job() { return mJob.job(context()); }

    // Runs one operation against the office, bounded by the call timeout; every UNO failure
    // comes out as AppError. A call into an office of an earlier generation fails at once.
    template <typename F> decltype(auto) call(unsigned officeGeneration, F&& f) {
        requireGeneration(officeGeneration);
        CallWatchdog::Bound bound(mWatchdog, mOptions.callTimeout);
        try {
            return f();
        } catch (const AppError&) {
            throw;
        } catch (...) {
            translateCurrentException();
        }
    }

    // A session the engine holds for itself (a rehearsal) is not one served for the program.
    void sessionOpened(bool forTheProgram = true) {
        ++mOpenSessions;
        if (forTheProgram)
            ++mSessionsServed;
    }
    void sessionClosed();
    int openSessions() const { return mOpenSessions; }
    // The office has served its share of sessions: time to replace it, to cap its memory.
    bool servedItsShare() const { return mSessionsServed >= mOptions.sessionsPerOffice; }
    // No office runs, or the connection to it is lost. Safe from any thread.
    bool officeGone() const { return mStatus->gone(); }
    // The running office was lost (died, killed) rather than stopped by the engine itself or
    // restarting on its first start with a fresh profile. Safe from any thread.
    bool officeLost() const { return mStatus->lost(); }

    // Gives the office up for good, from any thread, as the program ends: it is killed, a
    // start in progress fails at once, and so does every later call.
    void abandon();

    // True once the program's exit handlers have ended every office: from then on UNO
    // objects are let go without a call (the UNO runtime is being torn down).
    static bool processExiting();

private:
    void requireNotAbandoned() const;
    void requireGeneration(unsigned officeGeneration);
    [[noreturn]] void translateCurrentException();
    void start();
    void spawn(const QString& program);
    void connect(const QString& program, std::chrono::steady_clock::time_point deadline);
    void askToTerminate();
    void closeTemplateAhead() noexcept;
    void closeLeftDocuments() noexcept;
    bool closeWhileAnswering(const css::uno::Reference<css::lang::XComponent>& document,
                             std::unique_ptr<DeferredLayout> fills) noexcept;

    LibreOfficeOptions mOptions;
    std::function<void()> mOfficeChanged;
    QString mPipeName;
    Profile mProfile;
    OfficeProcess mProcess;
    // Shared with the connection's listeners, which may outlive the engine.
    std::shared_ptr<OfficeStatus> mStatus;
    std::atomic<unsigned> mGeneration{0};
    std::atomic<int> mOpenSessions{0};
    std::atomic<int> mSessionsServed{0};
    std::atomic<bool> mAbandoned{false};
    // By the holder; before any answer, the clock's epoch (the machine's start).
    UnoConnection mConnection;
    CallWatchdog mWatchdog;
    TemplateAhead mTemplateAhead;
    JobLoader mJob;
    SpareFrames mSpareFrames;
    struct LeftToClose {
        css::uno::Reference<css::lang::XComponent> document;
        std::unique_ptr<DeferredLayout> fills;
    };
    std::vector<LeftToClose> mLeftToClose;
    std::atomic<bool> mRehearsed{false};
    std::atomic<int> mLeftToCloseCount{0};
};

} // namespace office
