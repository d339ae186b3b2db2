// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The search for a text's size: each size asked about is a layout of the text in the office.

#include "office/libreoffice/inoffice/SizeSearch.h"

#include <gtest/gtest.h>

#include <set>

// Every range of up to 12 sizes, every guess in and around it, every size the text fits up
// to: the largest fitting size, each size asked once at most, a right guess at the top alone.
TEST(SizeSearch, FindsTheLargestFittingSizeAskingEachSizeOnce) {
    for (int largest = 6; largest < 19; ++largest)
        for (int guess = 5; guess <= largest + 2; ++guess)
            for (int fitsUpTo = 6; fitsUpTo <= largest; ++fitsUpTo) {
                std::set<int> asked;
                const int found = office::largestFittingSize(7, largest, guess, [&](int points) {
                    EXPECT_TRUE(asked.insert(points).second) << points << " asked again";
                    return points <= fitsUpTo;
                });
                EXPECT_EQ(found, fitsUpTo >= 7 ? fitsUpTo : 0) << guess << " " << fitsUpTo;
                EXPECT_LE(asked.size(), guess == fitsUpTo && guess == largest ? 1u : 5u);
            }
    EXPECT_EQ(office::guessedSize(10, 115, 100), 9); // a little too long: one size down
}
