// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "office/libreoffice/inoffice/SizeSearch.h"

#include <algorithm>
#include <cmath>

namespace office {

int largestFittingSize(int smallest, int largest, int guess,
                       const std::function<bool(int)>& fitsAt) {
    int best = 0;
    int next = std::clamp(guess, smallest, std::max(smallest, largest));
    while (smallest <= largest) {
        if (fitsAt(next)) {
            best = next;
            smallest = next + 1;
        } else {
            largest = next - 1;
        }
        next = (smallest + largest + 1) / 2;
    }
    return best;
}

int guessedSize(int points, int needed, int room) {
    if (needed <= 0 || room <= 0)
        return points;
    return int(std::floor(points * std::sqrt(double(room) / double(needed))));
}

} // namespace office
