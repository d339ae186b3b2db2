// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office's failures in the program's own words: a sentence that says what failed and
// what the user can do, then at most a short sentence of the office's own, never the office's
// internals (its source locations, function names, error codes).

#include <QString>

#include <chrono>

namespace office {

enum class OfficeFailure {
    Refused,  // the office could not do what was asked
    Stopped,  // the office, or the connection to it, went away
    TimedOut, // the office did not answer within the call's limit and was ended
};

// The description of a failed call into the office; officeMessage is the office's own text,
// limit the call's limit (for a timeout).
QString describeOfficeFailure(OfficeFailure failure, const QString& officeMessage,
                              std::chrono::milliseconds limit = {});

// A sentence followed by the office's own text, when a short readable one is left of it.
QString withOfficeDetail(const QString& sentence, const QString& officeMessage);

// The office's own text as a short sentence: its first line without the source locations
// ("./binaryurp/source/bridge.cxx:615") it carries; empty when what is left is no plain
// text (function names, error codes, links) or too long to be one.
QString officeDetail(const QString& officeMessage);

} // namespace office
