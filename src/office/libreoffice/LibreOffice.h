// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office operations served by a headless LibreOffice. One office process serves the
// program at a time (a private profile in the user's cache folder, reached over a private
// named pipe): the first session start starts it, later session starts reuse it, and it
// ends when this object is destroyed. Replacing it never keeps a session start waiting:
// after its share of sessions a successor starts in the background, and an office that
// dies between requests is replaced in the background as soon as that is noticed. No
// office process outlives the program, even when the program is killed, and no two offices
// share a profile. An office that died or hangs makes the call fail with a readable
// description and the next session start starts a new one. Plain C++: no UNO type here.

#include "office/Office.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <sys/types.h>

namespace office {

class Engine;
class LongTexts;
class Renewal;

struct LibreOfficeOptions {
    // The office program. Empty: $FESTORIA_SOFFICE when set, else "soffice" on PATH.
    QString program;
    // A start that does not answer within this time is a failed session start.
    std::chrono::milliseconds startTimeout{20000};
    // A single operation that takes longer ends the (hung) office and fails.
    std::chrono::milliseconds callTimeout{30000};
    // After this many sessions (session starts) the office is renewed, which caps the memory
    // a long run makes it use: its successor starts in the background while it still serves,
    // and takes over at the first session start after it answers.
    int sessionsPerOffice = 100;
    // The template file every request opens read-only (its bytes); empty: none. While the
    // office has nothing else to do, a copy of it is opened ahead, and the next open() of a
    // file with exactly these bytes is given that copy instead of reading the file.
    QByteArray templateAhead;
};

class LibreOffice : public Office {
public:
    explicit LibreOffice(LibreOfficeOptions options = {});
    // Ends the office process.
    ~LibreOffice() override;

    std::unique_ptr<Session> startSession() override;

    // The office's process id (also its process group), or 0 when none runs.
    pid_t processId() const;
    // What kills the office running now, from any thread; once that office has ended, it
    // kills nothing (see Engine::ender()).
    std::function<void()> officeEnder() const;
    // Ends the office process now; the next session start starts a new one.
    void shutdown();

    // The engine that serves the next session.
    Engine& engine();

private:
    std::shared_ptr<LongTexts> mLongTexts;
    std::unique_ptr<Renewal> mRenewal;
};

std::unique_ptr<LibreOffice> makeLibreOffice(LibreOfficeOptions options = {});

} // namespace office
