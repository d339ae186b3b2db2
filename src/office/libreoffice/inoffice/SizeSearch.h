// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The search for the type size at which a text fits its box (see FitText).

#include <functional>

namespace office {

// The largest whole size in [smallest, largest] at which a text fits, or 0 when it fits at
// none, for a text that fits at every size below one at which it fits. Each size asked
// about is a layout of the text: the guess is asked first, then the middle of what is left.
int largestFittingSize(int smallest, int largest, int guess,
                       const std::function<bool(int)>& fitsAt);

// The size at which a text that needs `needed` at `points` would just take `room` (any
// unit): its height grows about with the square of its size (each line that much higher,
// and that many more lines). A text a little too long mostly fits one size down, which the
// guess then names.
int guessedSize(int points, int needed, int room);

} // namespace office
