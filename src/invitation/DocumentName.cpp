// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/DocumentName.h"

#include "core/Files.h"

#include <QFile>
#include <QTime>

#include <cstring>
#include <sys/stat.h>

DigitSource::DigitSource() {
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
    mEngine.seed(seed);
}

void DigitSource::reseed(double seconds) {
    if (seconds == mLastSeed)
        return;
    mLastSeed = seconds;
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof seconds);
    std::memcpy(&bits, &seconds, sizeof bits);
    std::seed_seq seed{std::uint32_t(mEngine()), std::uint32_t(mEngine() >> 32),
                       std::uint32_t(bits), std::uint32_t(bits >> 32)};
    mEngine.seed(seed);
}

int DigitSource::drawDigit() {
    const double uniform = std::generate_canonical<double, 53>(mEngine); // [0, 1)
    const int digit = int(uniform * 9) + 1;
    return digit > 9 ? 9 : digit;
}

double secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

bool nameTaken(const QString& path) {
    if (fileExists(path))
        return true;
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}
