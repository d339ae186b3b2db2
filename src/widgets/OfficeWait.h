// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the window thread waits for the office: in a local event loop, so that the windows keep
// painting, while they take no input (what a request read is what the invitation shows).
// After about a second a note over the window in front says that the office is working and
// offers Cancel.

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>

class QEvent;
class QWidget;

// While it lives, the program's windows take no input from the user: keys, clicks, the wheel
// and shortcuts are dropped, not kept for later. Dialogs and message boxes opened meanwhile,
// and the office note, still take input. Window thread only; blocks nest.
class InputBlock : public QObject {
    Q_OBJECT
public:
    InputBlock();
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

    // Whether input to the windows is dropped now.
    static bool active();
    // A widget that still takes input during a block (the office note).
    static void exempt(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class OfficeWait {
public:
    // How long the office works before the note shows.
    static constexpr std::chrono::milliseconds kNoteDelay{1000};

    // After Cancel, how long the wait goes on for the office's answer (an office that was
    // ended answers at once, with its failure) before it is given up.
    static constexpr std::chrono::milliseconds kCancelGrace{700};

    // Runs the window thread's events, under an InputBlock, until finished() holds (checked
    // whenever wake() is called, from any thread). Cancel on the note calls cancel() and waits
    // kCancelGrace more. Returns false when the wait was given up: after a Cancel, or because
    // the program is leaving its event loop.
    static bool until(const std::function<bool()>& finished, const std::function<void()>& cancel);
    // Wakes the waiting window thread to check again; any thread.
    static void wake();
    // The note while it is shown (its Cancel button is named "cancelOfficeButton").
    static QWidget* note();
};
