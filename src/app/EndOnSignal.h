// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A signal that would end the program (SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGUSR1, ...) ends it
// as closing its window does, so that what the run made goes with it: the signal is handed to
// the window thread, which calls end. A second one while that runs ends the program at once,
// after removing the run's files. A fault (SIGSEGV, SIGABRT, ...) removes them and ends it as
// it would have. A signal someone set to be ignored (nohup) stays ignored.

#include <QList>
#include <QObject>

#include <functional>

class QSocketNotifier;

class EndOnSignal : public QObject {
public:
    explicit EndOnSignal(std::function<void()> end);
    ~EndOnSignal() override;
    EndOnSignal(const EndOnSignal&) = delete;
    EndOnSignal& operator=(const EndOnSignal&) = delete;

private:
    std::function<void()> mEnd;
    QSocketNotifier* mNotifier = nullptr;
    QList<int> mHandled;
};
