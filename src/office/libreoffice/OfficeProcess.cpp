// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's processes: spawned under a keeper, beside a guard, and collected whole.

#include "office/libreoffice/OfficeProcess.h"

#include "core/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace office {

namespace {

void sleepFor(std::chrono::milliseconds d) {
    std::this_thread::sleep_for(d);
}

void endOwnProcessGroup(int) {
    ::kill(0, SIGKILL);
}

// Runs in the office's first process, in its own process group, between fork and exec: the
// second line beside the guard, should the guard be killed first. The kernel signals this
// process when the program ends in any way (PR_SET_PDEATHSIG, which follows the thread that
// forked: the window thread, or the renewal worker, which lives until the owner has ended
// its offices), and it then ends the office's whole group. The office itself runs as its
// child, and this process ends as the office ends, with the office's own status, so the
// engine sees the office's exit as before.
[[noreturn]] void keepOffice(pid_t program, char* const argv[], char* const envp[]) {
    // Nothing of the program stays open here: above all not the guard pipe's writing end,
    // whose closing is how the guard learns that the program has ended.
    ::close_range(3, ~0U, 0);
    struct sigaction ended {};
    ended.sa_handler = endOwnProcessGroup;
    ::sigemptyset(&ended.sa_mask);
    ::sigaction(SIGTERM, &ended, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != program) // the program ended before the line was drawn
        ::_exit(127);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGTERM, SIG_DFL);
        ::execve(argv[0], argv, envp);
        ::_exit(127);
    }
    if (child < 0)
        ::_exit(127);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            ::_exit(127);
    }
    if (WIFSIGNALED(status)) {
        ::signal(WTERMSIG(status), SIG_DFL);
        ::kill(::getpid(), WTERMSIG(status));
    }
    ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 127);
}

// Runs in the guard process: reads the guard pipe until this program closes it (ending in
// any way) and then ends the office's group; a 'D' first means the office was ended in order.
[[noreturn]] void guardOffice(int in, pid_t office) {
    ::setsid();
    ::close_range(0, in - 1, 0);
    ::close_range(in + 1, ~0U, 0);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::signal(s, SIG_IGN);
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(in, &c, 1);
        if (n == 1 && c == 'D')
            ::_exit(0);
        if (n == 0 || (n < 0 && errno != EINTR))
            break;
    }
    ::kill(-office, SIGKILL);
    ::_exit(0);
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
    // In the child: standard input and output become these.
    void takeOver() const {
        if (input >= 0)
            ::dup2(input, 0);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
    }
    const int log;
    const int input;
};

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
    const std::vector<char*> argv = nullTerminated(arguments);
    const std::vector<char*> envp = nullTerminated(environment);
    const OfficeOutput output(logPath);
    // The office's processes fall to this program rather than to init when their parent
    // ends, which may never collect them (see collectGroup()).
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    const pid_t program = ::getpid();
    const pid_t office = ::fork();
    if (office == 0) {
        // The office gets its own session and process group, so it can be ended whole.
        ::setsid();
        // What the office writes (the filled document, exports, its profile) carries the
        // user's details: for this user's eyes only, wherever it is written.
        ::umask(077);
        output.takeOver();
        keepOffice(program, argv.data(), envp.data());
    }
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
    int guard[2];
    if (::pipe2(guard, O_CLOEXEC) != 0) {
        end();
        throw AppError(
            QStringLiteral("The office could not be started; close some programs and try again."));
    }
    const pid_t guardPid = ::fork();
    if (guardPid == 0)
        guardOffice(guard[0], office);
    ::close(guard[0]);
    mGuardPipe = guard[1];
    mGuard = guardPid > 0 ? guardPid : 0;
}

bool OfficeProcess::hasEnded(QString* how, bool* killed) {
    if (mEnded || mOffice == 0)
        return true;
    int status = 0;
    const pid_t r = ::waitpid(mOffice, &status, WNOHANG);
    if (r == mOffice && killed)
        *killed = WIFSIGNALED(status);
    if (r == mOffice && how)
        *how = WIFEXITED(status) ? QStringLiteral("with code %1").arg(WEXITSTATUS(status))
                                 : QStringLiteral("by signal %1 (%2)")
                                       .arg(WTERMSIG(status))
                                       .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))));
    if (r == mOffice || (r < 0 && errno == ECHILD))
        mEnded = true;
    return mEnded;
}

void OfficeProcess::waitForEnd(std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    while (!mEnded && mOffice != 0) {
        int status = 0;
        const pid_t r = ::waitpid(mOffice, &status, WNOHANG);
        if (r == mOffice || (r < 0 && errno != EINTR)) {
            mEnded = true;
            return;
        }
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
    if (!mEnded) {
        int status = 0;
        while (::waitpid(mOffice, &status, 0) < 0 && errno == EINTR) {
        }
        mEnded = true;
    }
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
