// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A signal handler may do next to nothing: it writes a byte to a pipe that the window
// thread watches.

#include "app/EndOnSignal.h"

#include "core/RunFiles.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {
// Signals whose default action ends the program, and the faults among them, which end it at
// once wherever they happen.
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP,  SIGINT,    SIGQUIT,  SIGUSR1,
                                  SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,  SIGXCPU,
                                  SIGXFSZ, SIGIO,   SIGPWR,    SIGSTKFLT};
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS};
int gPipe[2] = {-1, -1};
std::atomic<bool> gSignalled{false};

[[noreturn]] void endNow(int signal) {
    runFiles::removeAllFromSignal();
    ::signal(signal, SIG_DFL);
    // The signal is blocked while its handler runs: unblocked, the raised one ends the program
    // as it would have without the handler.
    sigset_t only;
    ::sigemptyset(&only);
    ::sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal); // should the default action not end it
}

void onSignal(int signal) {
    if (gSignalled.exchange(true))
        endNow(signal);
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
}

// Takes the signal over unless someone else already handles or ignores it.
bool takeOver(int signal, void (*handler)(int)) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL ||
        (old.sa_flags & SA_SIGINFO))
        return false;
    struct sigaction action {};
    action.sa_handler = handler;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signal, &action, nullptr) == 0;
}
} // namespace

EndOnSignal::EndOnSignal(std::function<void()> end) : mEnd(std::move(end)) {
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their usual effect
    mNotifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(gPipe[0], &byte, 1) == 1) {
        }
        mEnd();
    });
    for (const int s : kEndingSignals)
        if (takeOver(s, onSignal))
            mHandled << s;
    for (const int s : kFaultSignals)
        if (takeOver(s, endNow))
            mHandled << s;
}

EndOnSignal::~EndOnSignal() {
    for (const int s : mHandled)
        ::signal(s, SIG_DFL);
}
