// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office as the windows use it: every call runs on one office thread of its own, while
// the window thread waits for it in a local event loop (OfficeWait), so that the windows keep
// painting however long the office takes. The request's steps, reports, prompts and the
// clipboard stay on the window thread; only the office's own work moves.
//
// Cancel on the office note ends the office's process group, so that the blocked call fails
// as against a dead office (and the office is replaced in the background, as any lost office
// is). Should the call not come back at once, it is given up: it fails on the window thread,
// every object obtained before the cancel fails at once from then on, and what the call
// leaves is destroyed on the office thread when it comes back.

#include "office/Office.h"

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class ThreadedOffice : public office::Office {
public:
    // officeEnder runs on the office thread before each call and gives what ends the office
    // that call runs on (nothing when none runs); Cancel calls that from the window thread.
    // It must end nothing once that office has ended: a process id can be another's by then.
    using Ender = std::function<void()>;
    explicit ThreadedOffice(office::Office& inner, std::function<Ender()> officeEnder = {});
    // Ends the office thread; a call still hanging has its office ended first.
    ~ThreadedOffice() override;
    ThreadedOffice(const ThreadedOffice&) = delete;
    ThreadedOffice& operator=(const ThreadedOffice&) = delete;

    std::unique_ptr<office::Session> startSession() override;
    // On the office thread, after the calls queued before it.
    void runWhereCallsRun(const std::function<void()>& work) override;

    // Runs work on the office thread while the window thread waits; its result or its
    // exception comes back. Throws AppError when the wait was given up (Cancel).
    template <typename F> auto run(F&& work) -> decltype(work());
    // Runs work on the office thread later, without waiting (what a given-up call leaves).
    void post(std::function<void()> work);
    // Counts cancels: objects obtained before the latest one are given up.
    unsigned cancels() const { return mCancels; }
    // Ends the office that runs the call now (Cancel): its whole process group.
    void endRunningOffice();
    void noteRunningOffice(Ender ender);

private:
    class ThreadedSession;
    class ThreadedDocument;
    struct Task {
        std::mutex mutex;
        bool done = false;
        bool givenUp = false;
        std::exception_ptr error;
    };
    template <typename R> struct ResultTask : Task { std::optional<R> result; };
    void officeThread();
    // Waits for the task; false when the wait was given up before the task was done.
    bool waitFor(Task& task);
    // Throws when an object obtained in the cancel epoch given is given up.
    void requireCurrent(unsigned epoch) const;

    office::Office& mInner;
    std::function<Ender()> mOfficeEnder;
    std::mutex mRunningMutex; // the running call's ender, which Cancel reaches from the window
    Ender mRunningOffice;
    std::atomic<unsigned> mCancels{0};
    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<std::function<void()>> mQueue;
    bool mQuit = false;
    std::thread mThread;
};

[[noreturn]] void throwOfficeGivenUp();

template <typename F> auto ThreadedOffice::run(F&& work) -> decltype(work()) {
    using R = decltype(work());
    using Stored = std::conditional_t<std::is_void_v<R>, bool, R>;
    auto task = std::make_shared<ResultTask<Stored>>();
    const unsigned cancelsBefore = mCancels;
    post([this, task, work = std::forward<F>(work)]() mutable {
        std::optional<Stored> result;
        std::exception_ptr error;
        try {
            noteRunningOffice(mOfficeEnder ? mOfficeEnder() : Ender());
            if constexpr (std::is_void_v<R>) {
                work();
                result = true;
            } else {
                result.emplace(work());
            }
        } catch (...) {
            error = std::current_exception();
        }
        noteRunningOffice({});
        std::lock_guard lock(task->mutex);
        task->done = true;
        if (task->givenUp)
            return; // what the call made goes here, on the office thread
        task->result = std::move(result);
        task->error = error;
    });
    if (!waitFor(*task))
        throwOfficeGivenUp();
    if (task->error && mCancels != cancelsBefore)
        throwOfficeGivenUp(); // the call failed because Cancel ended the office
    if (task->error)
        std::rethrow_exception(task->error);
    if constexpr (!std::is_void_v<R>)
        return std::move(*task->result);
}
