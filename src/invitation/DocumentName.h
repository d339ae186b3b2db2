// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The random name of the filled document: "qorvel", eight digits 1 to 9, ".doc".

#include <QString>

#include <cstdint>
#include <functional>
#include <random>

// Draws the digits of a document name. It starts from the system's entropy source, so
// names cannot be guessed ahead; re-seeding with the time of day mixes that time in only
// when it changed since the last re-seed, so the digits of one name stay successive draws.
class DigitSource {
public:
    DigitSource();
    virtual ~DigitSource() = default;

    // Mixes the time of day (seconds since midnight, with fractions) into the generator.
    virtual void reseed(double secondsSinceMidnight);
    // A digit from 1 to 9, each equally likely: the integer part of a uniform value in
    // [0, 1) times 9, plus 1.
    virtual int drawDigit();

private:
    std::mt19937_64 mEngine;
    double mLastSeed = -1.0;
};

inline const QString kDocumentNamePrefix = QStringLiteral("qorvel");
inline const QString kDocumentNameSuffix = QStringLiteral(".doc");

// Seconds since midnight, local time, with fractions.
double secondsSinceMidnight();

// A name is taken when anything at all is found under it: a file, a folder, or a symbolic
// link even when it leads nowhere (the office would otherwise write through it).
bool nameTaken(const QString& path);
