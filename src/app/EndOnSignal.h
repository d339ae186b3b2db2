// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// SIGTERM, SIGHUP and SIGINT end the program as closing its window does, so that what the run
// made goes with it: the signal is handed to the window thread, which calls end. A second
// signal while that runs ends the program at once (a later start removes what it left).

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
};
