#pragma once

#include <QString>

#include <functional>

namespace office {
class Office;
}
class Prompts;

// Checks that the office can be started (a session is begun and ended at once). When it
// cannot, explains how to repair it and ends the program: no error report, no window.
// Every failure inside is absorbed. endProgram ends the program; tests pass their own.
void CheckWordInstalled(office::Office& office, Prompts& prompts,
                        const std::function<void()>& endProgram = {});

// The text shown when the office cannot be started.
QString officeMissingMessage();
