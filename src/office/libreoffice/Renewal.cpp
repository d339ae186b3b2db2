// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Renewing the office in the background: the worker, the successor's hand-over, retirement.

#include "office/libreoffice/Renewal.h"

#include "office/libreoffice/Engine.h"

#include <QByteArray>
#include <QScopeGuard>

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace office {

namespace {
// How long the current office stays idle before the worker opens the template ahead in it.
// The two sessions of one request follow each other within a millisecond; a user's next
// click comes seconds later.
constexpr std::chrono::milliseconds kIdleBeforeOpeningAhead{100};
// The priority (nice value) of a replaced office while it ends, and of the thread ending it.
constexpr int kRetiringNice = 19;

// An office runs in a session of its own, and the kernel shares the processor out between
// sessions first (autogroups) and only then by the nice values inside each: the session's
// own nice value is what makes an ending office give way to the program.
void lowerPriority(pid_t office) {
    ::setpriority(PRIO_PGRP, office, kRetiringNice);
    const QByteArray path = "/proc/" + QByteArray::number(office) + "/autogroup";
    const int file = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    if (file < 0)
        return;
    const QByteArray nice = QByteArray::number(kRetiringNice);
    [[maybe_unused]] const ssize_t n = ::write(file, nice.constData(), size_t(nice.size()));
    ::close(file);
}
} // namespace

// What the window thread shares with the worker, which watches for an office that died
// between requests and uses the current office's idle moments, and with the starter, which
// starts the successor offices the worker asks for (a start takes seconds, and the clicks
// meanwhile still find their template opened ahead). Both threads live as long as this
// object, so the offices the starter starts (which end with the thread that started them)
// live as long as the program needs them. The engines' callbacks reach it through a weak
// pointer: a connection's listener may outlive it.
struct Renewal::State {
    LibreOfficeOptions options;
    std::function<void(const std::shared_ptr<Engine>&)> prepare;
    std::mutex mutex; // guards everything down to the worker
    std::condition_variable wake;
    std::shared_ptr<Engine> current;        // replaced on the window thread only
    std::shared_ptr<Engine> successor;      // answering, waiting to take over
    std::shared_ptr<Engine> replaced;       // taken over from, ended at the next idle moment
    std::shared_ptr<Engine> startingEngine; // the starter's, while it starts
    bool renewRequested = false;
    bool renewalDue = false; // a successor to start once the current office is idle
    // A successor asked of the starter by the worker, then starting on the starter.
    enum class Start { None, Asked, Running } start = Start::None;
    bool renewalFailed = false; // no automatic attempt again before the next session start
    bool changed = false;       // an engine reported a lost office or its last session closed
    bool ending = false;
    // The template ahead: when the worker may open it in the current office (set whenever
    // the office's last session closes), how many holds keep the worker off the office, and
    // the office while the worker borrows it.
    std::optional<std::chrono::steady_clock::time_point> aheadDue;
    int holds = 0;
    std::shared_ptr<Engine> borrowed;
    std::thread worker;
    std::thread starter;
    std::mutex retiringMutex; // guards retiring
    std::vector<std::thread> retiring;

    std::shared_ptr<Engine> makeEngine(const std::weak_ptr<State>& self);
    void work();
    bool successorWanted();
    void askForSuccessor();
    void startWork(const std::weak_ptr<State>& self);
    void startSuccessor(std::unique_lock<std::mutex>& lock, const std::weak_ptr<State>& self);
    std::shared_ptr<Engine> startEngine(const std::weak_ptr<State>& self);
    void waitForWork(std::unique_lock<std::mutex>& lock);
    void useIdleOffice(std::unique_lock<std::mutex>& lock);
    void workInIdleOffice(std::unique_lock<std::mutex>& lock);
    void retire(std::shared_ptr<Engine> engine);
    void endWork();
};

std::shared_ptr<Engine> Renewal::State::makeEngine(const std::weak_ptr<State>& self) {
    return std::make_shared<Engine>(options, [self] {
        if (const auto state = self.lock()) {
            std::lock_guard lock(state->mutex);
            state->changed = true;
            state->wake.notify_all();
        }
    });
}

void Renewal::State::work() {
    std::unique_lock lock(mutex);
    for (;;) {
        waitForWork(lock);
        if (ending)
            return;
        if (changed)
            aheadDue = std::chrono::steady_clock::now() + kIdleBeforeOpeningAhead;
        if (successorWanted()) {
            // A lost office is replaced at once; a renewal waits until the office it renews
            // is idle, so that its start does not compete with a request for the processor.
            if (current->officeGone()) {
                askForSuccessor();
                continue;
            }
            renewalDue = true;
            if (!aheadDue)
                aheadDue = std::chrono::steady_clock::now() + kIdleBeforeOpeningAhead;
        }
        if (aheadDue && std::chrono::steady_clock::now() >= *aheadDue)
            useIdleOffice(lock);
    }
}

// Under the lock, once the current office has been idle for a moment (no session open and no
// one holding it; else the next session's end sets the time anew): the documents closed in
// the current office are closed and the template is opened ahead in it, for the requests it
// serves while a successor starts; then the successor that is due starts, if the office is
// still idle (else at its next idle moment).
void Renewal::State::useIdleOffice(std::unique_lock<std::mutex>& lock) {
    aheadDue.reset();
    if (holds > 0 || current->openSessions() > 0)
        return;
    workInIdleOffice(lock);
    if (replaced) {
        std::shared_ptr<Engine> engine = std::move(replaced);
        lock.unlock();
        retire(std::move(engine));
        lock.lock();
    }
    if (!renewalDue || holds > 0 || current->openSessions() > 0)
        return;
    renewalDue = false;
    if (!successor)
        askForSuccessor();
}

// Under the lock, on the worker: until there is work or the template ahead is due.
void Renewal::State::waitForWork(std::unique_lock<std::mutex>& lock) {
    const auto due = [&] { return ending || renewRequested || changed; };
    if (aheadDue)
        wake.wait_until(lock, *aheadDue, due);
    else
        wake.wait(lock, due);
}

// Under the lock: the worker borrows the idle current office, closes the documents the
// program has closed, and opens the template ahead in it. An office that has not rehearsed a
// request (the program's first, one restarted in place) rehearses first, as a successor does.
void Renewal::State::workInIdleOffice(std::unique_lock<std::mutex>& lock) {
    borrowed = current;
    lock.unlock();
    if (borrowed->rehearsed())
        borrowed->useIdle();
    else
        prepare(borrowed);
    lock.lock();
    borrowed.reset();
    wake.notify_all();
}

// Under the lock: a successor was asked for, or the current office was lost between
// requests (and no attempt to replace it has failed since the last session start).
bool Renewal::State::successorWanted() {
    if (changed) {
        changed = false;
        if (current->officeLost() && !Engine::processExiting() && current->openSessions() == 0 &&
            !successor && !renewalFailed)
            renewRequested = true;
    }
    if (!renewRequested)
        return false;
    renewRequested = false;
    return !successor;
}

// Under the lock, on the worker: the starter starts a successor.
void Renewal::State::askForSuccessor() {
    if (start != Start::None)
        return;
    start = Start::Asked;
    wake.notify_all();
}

void Renewal::State::startWork(const std::weak_ptr<State>& self) {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return ending || start == Start::Asked; });
        if (ending)
            break;
        start = Start::Running;
        startSuccessor(lock, self);
    }
    start = Start::None; // a start asked for and given up
    wake.notify_all();
}

// Under the lock, on the starter.
void Renewal::State::startSuccessor(std::unique_lock<std::mutex>& lock,
                                    const std::weak_ptr<State>& self) {
    lock.unlock();
    std::shared_ptr<Engine> engine = startEngine(self);
    lock.lock();
    if (engine && !ending)
        successor = std::move(engine);
    else
        renewalFailed = true;
    start = Start::None;
    wake.notify_all();
    if (engine) { // started while the owner was ending
        lock.unlock();
        engine.reset();
        lock.lock();
    }
}

// A new office, started and prepared; none when it did not answer (what it started is then
// ended here, off the window thread).
std::shared_ptr<Engine> Renewal::State::startEngine(const std::weak_ptr<State>& self) {
    std::shared_ptr<Engine> engine = makeEngine(self);
    {
        std::lock_guard lock(mutex);
        if (ending)
            return nullptr;
        startingEngine = engine;
    }
    const auto started = qScopeGuard([this] {
        std::lock_guard lock(mutex);
        startingEngine.reset();
    });
    try {
        engine->ensureRunning();
    } catch (const std::exception&) {
        return nullptr; // the next session start tries again, and reports
    }
    prepare(engine);
    return engine;
}

void Renewal::State::retire(std::shared_ptr<Engine> engine) {
    std::lock_guard lock(retiringMutex);
    for (std::thread& t : retiring)
        t.join(); // earlier retirements, long finished
    retiring.clear();
    retiring.emplace_back([engine = std::move(engine)]() mutable {
        // Ending an office is work for the processor too: it gives way to its successor,
        // which may serve a request meanwhile.
        ::setpriority(PRIO_PROCESS, pid_t(::gettid()), kRetiringNice);
        if (const pid_t office = engine->processId())
            lowerPriority(office);
        engine.reset();
    });
}

// Tells the worker to end, giving up the start it may be in (its office is killed, so that
// its calls fail at once), and waits for it and for the retire threads.
void Renewal::State::endWork() {
    {
        std::lock_guard lock(mutex);
        ending = true;
        if (startingEngine)
            startingEngine->abandon();
        if (borrowed)
            borrowed->abandon();
    }
    wake.notify_all();
    if (worker.joinable())
        worker.join();
    if (starter.joinable())
        starter.join();
    std::lock_guard lock(retiringMutex);
    for (std::thread& t : retiring)
        t.join();
    retiring.clear();
}

Renewal::Renewal(LibreOfficeOptions options,
                 std::function<void(const std::shared_ptr<Engine>&)> prepare)
    : mState(std::make_shared<State>()) {
    State& s = *mState;
    s.options = std::move(options);
    s.prepare = std::move(prepare);
    s.current = s.makeEngine(mState);
    s.worker = std::thread([&s] { s.work(); });
    s.starter = std::thread([&s, self = std::weak_ptr<State>(mState)] { s.startWork(self); });
    programExit::addWork(*this);
}

Renewal::~Renewal() {
    programExit::removeWork(*this);
    State& s = *mState;
    s.endWork();
    dropSuccessor();   // the starter has ended: this waits for nothing
    s.current.reset(); // ends the office process
}

void Renewal::endForExit() {
    mState->endWork();
}

const std::shared_ptr<Engine>& Renewal::current() const {
    return mState->current;
}

void Renewal::renewInBackground() {
    State& s = *mState;
    std::lock_guard lock(s.mutex);
    if (s.start == State::Start::None && !s.successor && !s.ending) {
        s.renewRequested = true;
        s.wake.notify_all();
    }
}

void Renewal::takeOverFromSuccessor() {
    State& s = *mState;
    std::shared_ptr<Engine> retired;
    {
        std::unique_lock lock(s.mutex);
        s.renewalFailed = false;
        if ((s.start != State::Start::None || s.renewRequested) && s.current->officeGone())
            s.wake.wait(lock, [&] { return s.start == State::Start::None && !s.renewRequested; });
        if (!s.successor)
            return;
        // The replaced office ends once its successor's first request is done (its end
        // competed with that request for the processor); one still waiting ends now.
        retired = std::move(s.replaced);
        s.replaced = std::move(s.current);
        s.current = std::move(s.successor);
    }
    if (retired)
        s.retire(std::move(retired));
}

Renewal::Hold::Hold(Renewal& renewal) : mState(*renewal.mState) {
    std::unique_lock lock(mState.mutex);
    mState.wake.wait(lock, [&] { return !mState.borrowed; });
    ++mState.holds;
}

Renewal::Hold::~Hold() {
    std::lock_guard lock(mState.mutex);
    --mState.holds;
}

void Renewal::dropSuccessor() {
    State& s = *mState;
    std::shared_ptr<Engine> successor;
    std::shared_ptr<Engine> replaced;
    {
        std::unique_lock lock(s.mutex);
        s.renewRequested = false;
        s.renewalDue = false;
        s.wake.wait(lock, [&] { return s.start == State::Start::None; });
        successor = std::move(s.successor);
        replaced = std::move(s.replaced);
    }
    replaced.reset();
    successor.reset();
}

} // namespace office
