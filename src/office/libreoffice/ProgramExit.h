// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Ending the offices when the program ends. An office held in static storage (a test's
// function-local office, say) outlives main(); an exit handler ends it while the UNO runtime
// still stands, and from then on no UNO call is made. Background work that may start or end
// engines meanwhile (the renewal worker, the retire threads) is ended first, so that while
// the handler ends the engines no other thread touches one.

namespace office {

class Engine;

namespace programExit {

// Work on threads of its own that starts or ends engines.
class BackgroundWork {
public:
    // Ends the work and waits for its threads: a start in progress is given up.
    virtual void endForExit() = 0;

protected:
    ~BackgroundWork() = default;
};

// Work registers for its life. Removing waits while the exit handler is ending it.
void addWork(BackgroundWork& work);
void removeWork(BackgroundWork& work);

// An engine registers once its office answers, and leaves when it is destroyed.
void addEngine(Engine& engine);
void removeEngine(Engine& engine);

// Registers the exit handler, once; called after the UNO runtime has set itself up, so that
// the handler runs before the runtime is torn down.
void registerHandler();

// True once the exit handler has ended every office.
bool exiting();

} // namespace programExit
} // namespace office
