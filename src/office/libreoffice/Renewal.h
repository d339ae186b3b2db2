// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Keeps an office serving the program, and renews it without keeping a session start
// waiting. After the office has served its share of sessions, a successor starts on a
// background thread of its own (the starter) while the office still serves, and takes over
// at the first session start after it answers; an office that dies between requests is
// replaced the same way as soon as the background worker notices. A replaced office is ended
// on a retire thread of its own. While the current office has been idle a moment (no session
// for a tenth of a second: a request's sessions follow each other more closely), the worker
// borrows it and opens the next request's template ahead; whoever uses the office outside a
// session holds it, which waits for the worker to give it back.

#include "office/libreoffice/LibreOffice.h"
#include "office/libreoffice/ProgramExit.h"

#include <functional>
#include <memory>

namespace office {

class Engine;

class Renewal final : private programExit::BackgroundWork {
    struct State;

public:
    // prepare readies a new office on the starter before it serves (a rehearsal), and an
    // office that served unprepared (the first, one restarted in place) on the worker in its
    // first idle moment; it must not throw.
    Renewal(LibreOfficeOptions options,
            std::function<void(const std::shared_ptr<Engine>&)> prepare);
    // Ends the worker and the starter (giving up a start in progress), then every office:
    // the replaced ones, the successor, the current one.
    ~Renewal();
    Renewal(const Renewal&) = delete;
    Renewal& operator=(const Renewal&) = delete;

    // The engine that serves the next session. Window thread only, like the three below.
    const std::shared_ptr<Engine>& current() const;
    // Asks the worker for a successor office; the current one goes on serving meanwhile.
    void renewInBackground();
    // A successor that answers takes over, and the office it replaces is ended on a retire
    // thread once the current office is next idle. When the current office is gone and its
    // successor still starting, this waits for the rest of that start.
    void takeOverFromSuccessor();
    // Gives up renewing for now: waits for a start in progress and ends the successor, and a
    // replaced office still waiting to end.
    void dropSuccessor();

    // Keeps the worker off the current office while the window thread uses it outside a
    // session (a session start, a shutdown); first waits for the worker to give it back.
    class Hold {
    public:
        explicit Hold(Renewal& renewal);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        State& mState;
    };

private:
    // Ends the worker and the starter (giving up a start in progress) and waits for the
    // retire threads.
    void endForExit() override;

    std::shared_ptr<State> mState;
};

} // namespace office
