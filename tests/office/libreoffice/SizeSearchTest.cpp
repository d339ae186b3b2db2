// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the largest size at which a text fits: each size asked about is a layout of
// the text in the office, so the answer must be right and come from few questions.

#include "office/libreoffice/SizeSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

// Every range of up to 12 sizes, every guess in and around it, every size the text fits up
// to: the largest fitting size, each size asked at most once, and few asked.
TEST(SizeSearch, FindsTheLargestFittingSizeAskingEachSizeOnce) {
    for (int smallest = 5; smallest <= 8; ++smallest)
        for (int largest = smallest - 1; largest < smallest + 12; ++largest)
            for (int guess = smallest - 2; guess <= largest + 2; ++guess)
                for (int fitsUpTo = smallest - 1; fitsUpTo <= largest; ++fitsUpTo) {
                    std::multiset<int> asked;
                    const int found =
                        office::largestFittingSize(smallest, largest, guess, [&](int points) {
                            asked.insert(points);
                            return points <= fitsUpTo;
                        });
                    SCOPED_TRACE(testing::Message() << smallest << ".." << largest << " guess "
                                                    << guess << " fits up to " << fitsUpTo);
                    EXPECT_EQ(found, fitsUpTo >= smallest ? fitsUpTo : 0);
                    EXPECT_EQ(std::set<int>(asked.begin(), asked.end()).size(), asked.size());
                    const int sizes = largest - smallest + 1;
                    EXPECT_LE(int(asked.size()), sizes <= 0 ? 0 : int(std::log2(sizes)) + 2);
                    if (sizes > 0 && guess == fitsUpTo && guess == largest) {
                        EXPECT_EQ(asked.size(), 1u) << "a right guess at the top is one layout";
                    }
                }
}

TEST(SizeSearch, TheGuessTakesTheHeightAsGrowingWithTheSquareOfTheSize) {
    EXPECT_EQ(office::guessedSize(10, 115, 100), 9); // a little too long: one size down
    EXPECT_EQ(office::guessedSize(30, 1000, 100), 9);
    EXPECT_EQ(office::guessedSize(10, 400, 100), 5);
    EXPECT_EQ(office::guessedSize(10, 100, 100), 10);
    EXPECT_EQ(office::guessedSize(10, 0, 100), 10);
    EXPECT_EQ(office::guessedSize(10, 100, 0), 10);
}
