// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's processes: started under a keeper, beside a guard, and collected whole.

#include "office/libreoffice/OfficeProcess.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace office {

namespace {

void sleepFor(std::chrono::milliseconds d) {
    std::this_thread::sleep_for(d);
}

std::vector<char*> nullTerminated(const QList<QByteArray>& list) {
    std::vector<char*> result;
    for (const QByteArray& entry : list)
        result.push_back(const_cast<char*>(entry.constData()));
    result.push_back(nullptr);
    return result;
}

// The office's standard input and output: nothing in, its chatter ("failed to launch
// javaldx") into a log rather than our terminal. Closed when it leaves scope.
struct OfficeOutput {
    explicit OfficeOutput(const QString& logPath)
        : log(::open(QFile::encodeName(logPath).constData(),
                     O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600)),
          input(::open("/dev/null", O_RDONLY | O_CLOEXEC)) {}
    ~OfficeOutput() {
        for (int fd : {log, input})
            if (fd >= 0)
                ::close(fd);
    }
    // The started process's standard input and output become these: (from, to) pairs.
    std::vector<std::pair<int, int>> redirections() const {
        std::vector<std::pair<int, int>> moves;
        if (input >= 0)
            moves.emplace_back(input, 0);
        if (log >= 0) {
            moves.emplace_back(log, 1);
            moves.emplace_back(log, 2);
        }
        return moves;
    }
    const int log;
    const int input;
};

// The keeper and the guard run festoria-office-keeper from the program's folder: see
// keeper/OfficeKeeper.cpp for why they are not copies of this program.
QByteArray keeperProgram() {
    static const QByteArray path = QFile::encodeName(QCoreApplication::applicationDirPath() +
                                                     QStringLiteral("/festoria-office-keeper"));
    return path;
}

// Starts the keeper program in a session of its own, with the given arguments, environment
// and file descriptors moved to (from, to), without copying this program's memory
// (posix_spawn starts it the way vfork does). Returns its process id, or -1.
pid_t startKeeperProgram(const QList<QByteArray>& arguments, const QList<QByteArray>& environment,
                         const std::vector<std::pair<int, int>>& moves) {
    const std::vector<char*> argv = nullTerminated(arguments);
    const std::vector<char*> envp = nullTerminated(environment);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    for (const auto& [from, to] : moves)
        ::posix_spawn_file_actions_adddup2(&actions, from, to);
    sigset_t none;
    ::sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0)
        pid = -1;
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

QString resolveOfficeProgram(const QString& configured) {
    QString program = configured;
    if (program.isEmpty())
        program = qEnvironmentVariable("FESTORIA_SOFFICE");
    if (program.isEmpty())
        program = QStringLiteral("soffice");
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            throw AppError(QStringLiteral("The office program '%1' was not found; install "
                                          "LibreOffice.")
                               .arg(program));
        return found;
    }
    const QFileInfo info(program);
    if (!info.exists())
        throw AppError(QStringLiteral("The office program '%1' does not exist; install "
                                      "LibreOffice.")
                           .arg(program));
    if (!info.isExecutable() || info.isDir())
        throw AppError(QStringLiteral("The office program '%1' cannot be run; install LibreOffice.")
                           .arg(program));
    return info.absoluteFilePath();
}

pid_t OfficeProcess::spawn(const QList<QByteArray>& arguments, const QList<QByteArray>& environment,
                           const QString& logPath) {
    const QString keeper = QFile::decodeName(keeperProgram());
    if (!QFileInfo(keeper).isExecutable())
        throw AppError(QStringLiteral("The program's part '%1' is missing; install Festoria again.")
                           .arg(keeper));
    QList<QByteArray> keeperArguments{keeperProgram(), "keep", QByteArray::number(::getpid())};
    keeperArguments += arguments;
    const OfficeOutput output(logPath);
    // The office's processes fall to this program rather than to init when their parent
    // ends, which may never collect them (see collectGroup()).
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // The office gets its own session and process group, so it can be ended whole.
    const pid_t office = startKeeperProgram(keeperArguments, environment, output.redirections());
    if (office < 0)
        throw AppError(QStringLiteral("The office program '%1' could not be started; close some "
                                      "programs and try again.")
                           .arg(QString::fromLocal8Bit(arguments.value(0))));
    mOffice = office;
    mEnded = false;
    spawnGuard(office);
    return office;
}

// The guard pipe: the guard reads it and ends the office's process group when it closes,
// which happens when this program ends in any way, even killed.
void OfficeProcess::spawnGuard(pid_t office) {
    int guard[2] = {-1, -1};
    const pid_t guardPid =
        ::pipe2(guard, O_CLOEXEC) != 0
            ? -1
            : startKeeperProgram({keeperProgram(), "guard", QByteArray::number(office)}, {},
                                 {{guard[0], 0}});
    if (guardPid < 0) {
        for (const int fd : guard)
            if (fd >= 0)
                ::close(fd);
        end();
        throw AppError(
            QStringLiteral("The office could not be started; close some programs and try again."));
    }
    ::close(guard[0]);
    mGuardPipe = guard[1];
    mGuard = guardPid;
}

// The office's first process is looked at, never collected, until end(): while it is
// unreaped, its process id and group cannot go to another process, so a kill of the group
// (by the watchdog, Cancel or end()) can never reach anyone else's.
bool OfficeProcess::hasEnded(QString* how, bool* killed) {
    if (mEnded || mOffice == 0)
        return true;
    siginfo_t info{};
    const int r = ::waitid(P_PID, id_t(mOffice), &info, WEXITED | WNOHANG | WNOWAIT);
    const bool seen = r == 0 && info.si_pid == mOffice;
    if (seen && killed)
        *killed = info.si_code != CLD_EXITED;
    if (seen && how)
        *how = info.si_code == CLD_EXITED
                   ? QStringLiteral("with code %1").arg(info.si_status)
                   : QStringLiteral("by signal %1 (%2)")
                         .arg(info.si_status)
                         .arg(QString::fromLocal8Bit(::strsignal(info.si_status)));
    if (seen || (r < 0 && errno == ECHILD))
        mEnded = true;
    return mEnded;
}

void OfficeProcess::waitForEnd(std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    while (!hasEnded()) {
        if (std::chrono::steady_clock::now() >= until)
            return;
        sleepFor(std::chrono::milliseconds(10));
    }
}

void OfficeProcess::end() {
    if (mOffice == 0)
        return;
    // Whatever of the office still runs (a helper process, a hung one) ends now.
    killGroup(mOffice);
    int status = 0;
    while (::waitpid(mOffice, &status, 0) < 0 && errno == EINTR) {
    }
    mEnded = true;
    collectGroup();
    endGuard();
    mOffice = 0;
}

void OfficeProcess::killGroup(pid_t group) {
    if (group > 0)
        ::kill(-group, SIGKILL);
}

// The office's own processes fall to this program (a subreaper, see spawn()) when their
// parent ends with them: collect them, so none is left behind as a zombie.
void OfficeProcess::collectGroup() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(-mOffice, &status, WNOHANG);
        if (r > 0 || (r < 0 && errno == EINTR))
            continue;
        if (r < 0 || std::chrono::steady_clock::now() >= until)
            return;
        sleepFor(std::chrono::milliseconds(10));
    }
}

// The office was ended in order: the guard is told so ('D') and goes.
void OfficeProcess::endGuard() {
    if (mGuardPipe >= 0) {
        const char disarm = 'D';
        [[maybe_unused]] const ssize_t n = ::write(mGuardPipe, &disarm, 1);
        ::close(mGuardPipe);
        mGuardPipe = -1;
    }
    if (mGuard > 0) {
        int status = 0;
        while (::waitpid(mGuard, &status, 0) < 0 && errno == EINTR) {
        }
        mGuard = 0;
    }
}

} // namespace office
