// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's office status, one state under one lock.

#include "office/libreoffice/OfficeStatus.h"

#include "office/libreoffice/OfficeProcess.h"

namespace office {

void OfficeStatus::beginStart() {
    std::lock_guard lock(mMutex);
    mPhase = Phase::Starting;
}

void OfficeStatus::spawned(pid_t office) {
    std::lock_guard lock(mMutex);
    mOffice = office;
    mConnectionLost = false;
}

unsigned OfficeStatus::connected() {
    std::lock_guard lock(mMutex);
    mConnectionLost = false;
    return ++mLatestConnection;
}

void OfficeStatus::endStart() {
    std::lock_guard lock(mMutex);
    mPhase = mOffice != 0 ? Phase::Running : Phase::Stopped;
}

void OfficeStatus::beginStop() {
    std::lock_guard lock(mMutex);
    mPhase = Phase::Stopping;
}

void OfficeStatus::stopped() {
    std::lock_guard lock(mMutex);
    mOffice = 0;
    mConnectionLost = false;
    mPhase = Phase::Stopped;
}

bool OfficeStatus::connectionLost(unsigned connection) {
    std::lock_guard lock(mMutex);
    if (connection != mLatestConnection)
        return false;
    mConnectionLost = true;
    return true;
}

pid_t OfficeStatus::office() const {
    std::lock_guard lock(mMutex);
    return mOffice;
}

bool OfficeStatus::connectionLost() const {
    std::lock_guard lock(mMutex);
    return mConnectionLost;
}

bool OfficeStatus::gone() const {
    std::lock_guard lock(mMutex);
    return mOffice == 0 || mConnectionLost;
}

bool OfficeStatus::lost() const {
    std::lock_guard lock(mMutex);
    return mOffice != 0 && mConnectionLost && mPhase == Phase::Running;
}

void OfficeStatus::killOffice() const {
    std::lock_guard lock(mMutex);
    OfficeProcess::killGroup(mOffice);
}

} // namespace office
