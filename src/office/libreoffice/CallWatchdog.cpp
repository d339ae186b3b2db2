// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The time bound on calls into the office.

#include "office/libreoffice/CallWatchdog.h"

namespace office {

CallWatchdog::CallWatchdog(std::function<void()> endOffice, std::function<void()> dropConnection)
    : mEndOffice(std::move(endOffice)), mDropConnection(std::move(dropConnection)),
      mThread([this] { watch(); }) {}

CallWatchdog::~CallWatchdog() {
    {
        std::lock_guard lock(mMutex);
        mQuit = true;
    }
    mWake.notify_all();
    mThread.join();
}

CallWatchdog::Bound::Bound(CallWatchdog& watchdog, std::chrono::milliseconds limit)
    : mWatchdog(watchdog) {
    std::lock_guard lock(watchdog.mMutex);
    mOuterArmed = watchdog.mArmed;
    mOuterDeadline = watchdog.mDeadline;
    mOuterLimit = watchdog.mLimit;
    watchdog.mTimedOut = false;
    watchdog.mLimit = limit;
    watchdog.mArmed = true;
    watchdog.mDeadline = std::chrono::steady_clock::now() + limit;
    watchdog.mWake.notify_all();
}

CallWatchdog::Bound::~Bound() {
    std::lock_guard lock(mWatchdog.mMutex);
    mWatchdog.mArmed = mOuterArmed;
    if (mOuterArmed) {
        mWatchdog.mDeadline = mOuterDeadline;
        mWatchdog.mLimit = mOuterLimit;
    }
    mWatchdog.mWake.notify_all();
}

std::chrono::milliseconds CallWatchdog::limit() const {
    std::lock_guard lock(mMutex);
    return mLimit;
}

void CallWatchdog::watch() {
    std::unique_lock lock(mMutex);
    while (!mQuit) {
        if (!mArmed) {
            mWake.wait(lock);
            continue;
        }
        const auto deadline = mDeadline;
        if (mWake.wait_until(lock, deadline) != std::cv_status::timeout)
            continue;
        if (mArmed && mDeadline == deadline)
            overrun(lock);
    }
}

// The office did not answer in time: end it, so the blocked call returns.
void CallWatchdog::overrun(std::unique_lock<std::mutex>& lock) {
    mTimedOut = true;
    mEndOffice();
    const auto released = [&] { return !mArmed || mQuit; };
    if (mWake.wait_for(lock, std::chrono::seconds(3), released))
        return;
    // The connection did not notice the dead office: drop it ourselves.
    lock.unlock();
    mDropConnection();
    lock.lock();
    mWake.wait(lock, released);
}

} // namespace office
