// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the engine's threads know of its office, as one state under one lock. The engine's
// owner starts and stops the office, the bridge's thread hears the connection go down, the
// renewal worker asks whether the office was lost, the watchdog kills it: each change and
// each question takes the state whole, so that no thread ever sees half a start or half a
// stop (an office stopped in order taken for a lost one, say).

#include <mutex>
#include <sys/types.h>

namespace office {

class OfficeStatus {
public:
    // The owner's side.
    void beginStart();
    void spawned(pid_t office);
    // A new connection stands: the end of an earlier one no longer counts. Returns its number.
    unsigned connected();
    // The start is over, whether or not an office now runs.
    void endStart();
    void beginStop();
    // No office runs any more, nor a start or stop: all at once.
    void stopped();

    // The bridge's side: the connection with this number went down. False when a newer one
    // stands, whose office may well be alive.
    bool connectionLost(unsigned connection);

    // Any thread.
    pid_t office() const;
    bool connectionLost() const;
    // No office runs, or the connection to it is lost.
    bool gone() const;
    // The running office was lost (died, killed) rather than stopped by the engine itself or
    // restarting on its first start with a fresh profile.
    bool lost() const;
    // Kills the office's whole process group, if one runs.
    void killOffice() const;

private:
    enum class Phase { Stopped, Starting, Running, Stopping };

    mutable std::mutex mMutex;
    pid_t mOffice = 0;
    Phase mPhase = Phase::Stopped;
    bool mConnectionLost = false;
    unsigned mLatestConnection = 0;
};

} // namespace office
