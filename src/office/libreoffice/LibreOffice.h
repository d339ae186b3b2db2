#pragma once

// The office operations served by a headless LibreOffice. One office process serves the
// whole program run: the first session start starts it (with a private profile in the user's cache
// folder, reached over a private named pipe), later session starts reuse it, and it ends when this
// object is destroyed. No office process outlives the program, even when the program is
// killed. An office that died or hangs makes the call fail with a readable description and
// the next session start starts a new one. Plain C++: no UNO type appears here.

#include "office/Office.h"

#include <QString>

#include <chrono>
#include <memory>
#include <sys/types.h>

namespace office {

class Engine;

struct LibreOfficeOptions {
    // The office program. Empty: $FESTORIA_SOFFICE when set, else "soffice" on PATH.
    QString program;
    // A start that does not answer within this time is a failed session start.
    std::chrono::milliseconds startTimeout{20000};
    // A single operation that takes longer ends the (hung) office and fails.
    std::chrono::milliseconds callTimeout{30000};
    // After this many sessions (session starts) the office is restarted before the next one,
    // which caps the memory a long run makes it use.
    int sessionsPerOffice = 100;
};

class LibreOffice : public Office {
public:
    explicit LibreOffice(LibreOfficeOptions options = {});
    // Ends the office process.
    ~LibreOffice() override;

    std::unique_ptr<Application> createApplication() override;

    // The office's process id (also its process group), or 0 when none runs.
    pid_t processId() const;
    // Ends the office process now; the next session start starts a new one.
    void shutdown();

    Engine& engine() { return *mEngine; }

private:
    std::unique_ptr<Engine> mEngine;
};

std::unique_ptr<LibreOffice> makeLibreOffice(LibreOfficeOptions options = {});

} // namespace office
