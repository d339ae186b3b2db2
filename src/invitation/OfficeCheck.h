// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

namespace office {
class Office;
}
class Prompts;

// Checks that the office can be started (a session is begun and ended at once). When it
// cannot, explains how to repair it and calls endAtOnce, which ends the office and the
// program without any window's closing handling: no error report, no window. Every failure
// inside is absorbed.
void checkOfficeStarts(office::Office& office, Prompts& prompts,
                       const std::function<void()>& endAtOnce);

// The text shown when the office cannot be started.
QString officeMissingMessage();
