// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office's processes. The office runs under a keeper process, in a session and process
// group of its own, beside a small guard process: both end the office's whole group when this
// program ends in any way, even killed, so no office outlives the program. Plain POSIX.

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <sys/types.h>

namespace office {

// The office program: the configured one; when none is, $FESTORIA_SOFFICE, else "soffice" on
// PATH. Throws AppError when it is missing or cannot be run.
QString resolveOfficeProgram(const QString& configured);

// One office process at a time, with its keeper and guard. Used by one thread at a time
// (the engine's owner), except kill(), which any thread may call.
class OfficeProcess {
public:
    OfficeProcess() = default;
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // Starts the office: arguments[0] is the program; its output goes to the log file. Returns
    // its process id, which is also its process group. Throws AppError when it cannot start.
    pid_t spawn(const QList<QByteArray>& arguments, const QList<QByteArray>& environment,
                const QString& logPath);
    // True once the office's first process has ended (it stays uncollected until end()); when
    // how is given and the end is seen now, it says how ("with code 81", "by signal 9
    // (Killed)"), and killed whether a signal ended it.
    bool hasEnded(QString* how = nullptr, bool* killed = nullptr);
    // Waits up to the given time for the office to end by itself.
    void waitForEnd(std::chrono::milliseconds wait);
    // Ends what is left of the office's process group, collects every process of it and
    // disarms the guard. Nothing runs afterwards. Whoever else may kill the group must have
    // forgotten its id first: once collected, the id may go to another process.
    void end();

    // Kills the office's whole process group at once. Safe from any thread.
    static void killGroup(pid_t group);

private:
    void spawnGuard(pid_t office);
    void endGuard();
    void collectGroup();

    pid_t mOffice = 0;
    bool mEnded = true;
    int mGuardPipe = -1;
    pid_t mGuard = 0;
};

} // namespace office
