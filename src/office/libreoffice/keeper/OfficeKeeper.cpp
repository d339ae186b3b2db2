// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's keeper and guard: the two small processes beside every office that end its
// whole process group when the program ends in any way, even killed.
//
//   festoria-office-keeper keep <program's pid> <office program> [arguments...]
//   festoria-office-keeper guard <office's process group>   (the guard pipe on its input)
//
// They are a program of their own rather than copies of Festoria made by fork(): such a copy
// shares every page of the program's memory for as long as the office lives, and each page
// the program writes afterwards is first copied, a fault at a time (thousands of them in the
// clicks after an office started, which then took 30 to 50 ms longer).

#include "NoDiskWaits.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void endOwnProcessGroup(int) {
    ::kill(0, SIGKILL);
}

// The keeper: in the office's own session and process group, with the office's output and
// environment, the second line beside the guard, should the guard be killed first. The kernel
// signals it when the thread that started it ends (PR_SET_PDEATHSIG: the window thread, or
// the renewal's starter, which lives until the program has ended its offices), and it then
// ends the office's whole group. The office runs as its child, and the keeper ends as the
// office ends, with the office's own status, so the program sees the office's exit.
[[noreturn]] void keep(pid_t program, char* const argv[]) {
    ::close_range(3, ~0U, 0);
    struct sigaction ended {};
    ended.sa_handler = endOwnProcessGroup;
    ::sigemptyset(&ended.sa_mask);
    ::sigaction(SIGTERM, &ended, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != program) // the program ended before the line was drawn
        ::_exit(127);
    // What the office writes (the filled document, exports, its profile) carries the user's
    // details: for this user's eyes only, wherever it is written.
    ::umask(077);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGTERM, SIG_DFL);
        skipDiskWaits();
        ::execv(argv[0], argv);
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

// The guard, in a session of its own: reads the guard pipe until the program closes it
// (ending in any way) and then ends the office's group; a 'D' first means the office was
// ended in order.
[[noreturn]] void guard(pid_t office) {
    ::close_range(1, ~0U, 0);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::signal(s, SIG_IGN);
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(0, &c, 1);
        if (n == 1 && c == 'D')
            ::_exit(0);
        if (n == 0 || (n < 0 && errno != EINTR))
            break;
    }
    ::kill(-office, SIGKILL);
    ::_exit(0);
}

pid_t processId(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0 ? pid_t(value) : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 4 && std::strcmp(argv[1], "keep") == 0 && processId(argv[2]) > 0)
        keep(processId(argv[2]), argv + 3);
    if (argc == 3 && std::strcmp(argv[1], "guard") == 0 && processId(argv[2]) > 0)
        guard(processId(argv[2]));
    static const char usage[] = "festoria-office-keeper: started by Festoria, not by hand\n";
    [[maybe_unused]] const ssize_t n = ::write(2, usage, sizeof usage - 1);
    return 2;
}
