// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A signal handler may do next to nothing: it writes a byte to a pipe that the window
// thread watches.

#include "app/EndOnSignal.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};
int gPipe[2] = {-1, -1};
std::atomic<bool> gSignalled{false};

void onSignal(int signal) {
    if (gSignalled.exchange(true)) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
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
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kEndingSignals)
        ::sigaction(s, &action, nullptr);
}

EndOnSignal::~EndOnSignal() {
    for (const int s : kEndingSignals)
        ::signal(s, SIG_DFL);
}
