// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the offices when the program ends: background work first, then the engines.

#include "office/libreoffice/ProgramExit.h"

#include "office/libreoffice/Engine.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>

namespace office::programExit {

namespace {

// Never destroyed: the handler and the last engines may run after static destruction began.
struct Registry {
    std::mutex workMutex; // guards work, held while the handler ends it
    std::set<BackgroundWork*> work;
    std::mutex enginesMutex; // guards engines
    std::set<Engine*> engines;
};
Registry& registry() {
    static auto* r = new Registry;
    return *r;
}
std::atomic<bool> ended{false};

void endOfficesAtExit() {
    Registry& r = registry();
    {
        std::lock_guard lock(r.workMutex);
        for (BackgroundWork* work : r.work)
            work->endForExit();
    }
    std::set<Engine*> engines;
    {
        std::lock_guard lock(r.enginesMutex);
        engines = r.engines;
    }
    for (Engine* engine : engines) {
        try {
            engine->stop();
        } catch (const std::exception&) {
            // The program is ending: the office's guard ends whatever is left of it.
        }
    }
    ended = true;
}

} // namespace

void addWork(BackgroundWork& work) {
    std::lock_guard lock(registry().workMutex);
    registry().work.insert(&work);
}

void removeWork(BackgroundWork& work) {
    std::lock_guard lock(registry().workMutex);
    registry().work.erase(&work);
}

void addEngine(Engine& engine) {
    std::lock_guard lock(registry().enginesMutex);
    registry().engines.insert(&engine);
}

void removeEngine(Engine& engine) {
    std::lock_guard lock(registry().enginesMutex);
    registry().engines.erase(&engine);
}

void registerHandler() {
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(endOfficesAtExit); });
}

bool exiting() {
    return ended;
}

} // namespace office::programExit
