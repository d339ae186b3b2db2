// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The time bound on calls into the office. A thread of its own sleeps until the running
// call's deadline; should the call outlive it, the (hung) office is ended so that the call
// returns, and should even that not free it within a few seconds, the connection is dropped.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace office {

class CallWatchdog {
public:
    // endOffice and dropConnection run on the watchdog's thread.
    CallWatchdog(std::function<void()> endOffice, std::function<void()> dropConnection);
    // Ends the watchdog's thread.
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // Bounds what runs during its life. A bound inside another (a start within a call)
    // gives the outer one back when it ends.
    class Bound {
    public:
        Bound(CallWatchdog& watchdog, std::chrono::milliseconds limit);
        ~Bound();
        Bound(const Bound&) = delete;
        Bound& operator=(const Bound&) = delete;

    private:
        CallWatchdog& mWatchdog;
        bool mOuterArmed;
        std::chrono::steady_clock::time_point mOuterDeadline;
        std::chrono::milliseconds mOuterLimit;
    };

    // Whether the latest bound ran out (the office was ended for it).
    bool timedOut() const { return mTimedOut; }
    // The same, and forgets it.
    bool takeTimeout() { return mTimedOut.exchange(false); }
    // The limit of the latest bound.
    std::chrono::milliseconds limit() const;

private:
    void watch();
    void overrun(std::unique_lock<std::mutex>& lock);

    std::function<void()> mEndOffice;
    std::function<void()> mDropConnection;
    mutable std::mutex mMutex; // guards everything below but mTimedOut and mThread
    std::condition_variable mWake;
    bool mArmed = false;
    bool mQuit = false;
    std::chrono::steady_clock::time_point mDeadline;
    std::chrono::milliseconds mLimit{0};
    std::atomic<bool> mTimedOut{false};
    std::thread mThread;
};

} // namespace office
