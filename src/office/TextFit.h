// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How a filled text is made to fit its text box: the rule the office engine follows, also
// inside the office, where the fit runs (so it needs nothing of Qt beyond its core).

#include <QString>

namespace office {

// How the text of one text box may be made to fit it.
struct TextFit {
    // The text box that holds this bookmark.
    QString bookmark;
    // The box may grow in height: first down to the page's bottom margin, then up through
    // the page that is clear of the art above it (see clearTop).
    bool mayGrow = false;
    // Then the text's size may step down, in whole points, to this size.
    int smallestPoints = 0;
    // Where the page above the box stops being clear of art, in 1/100 mm from the page's top
    // edge (0: no art above). Only text that does not fit even at the smallest size makes the
    // box grow beyond it, up to the bottom of the box that stands above it.
    int clearTop = 0;
    // A text that wraps onto several lines is given lines of similar length (its paragraph
    // narrowed evenly on both sides, which a centred text shows as balanced lines).
    bool balanceLines = false;
};

} // namespace office
