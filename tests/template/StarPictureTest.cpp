// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The star background: a valid EMF of 76 filled stars in the four colours, clear of the
// text areas, drawn the same way every time.
#include "StarPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

std::set<std::uint32_t> colourSet(const std::vector<stars::Rgb>& colours) {
    std::set<std::uint32_t> out;
    for (const stars::Rgb& c : colours)
        out.insert(c.r << 16 | c.g << 8 | c.b);
    return out;
}

const std::set<std::uint32_t> kFourColours{0xFFDC83, 0xFFCC66, 0x6357AB, 0xB880FF};

TEST(StarPicture, IsAValidMetafileOfSeventySixStarsInTheFourColours) {
    const std::string emf = stars::starPictureEmf(stars::backgroundStars());
    const stars::EmfSummary summary = stars::readEmf(emf);
    ASSERT_TRUE(summary.valid) << summary.error;
    EXPECT_EQ(summary.polygons, 76);
    EXPECT_EQ(colourSet(summary.fillColours), kFourColours);
    EXPECT_EQ(colourSet(summary.brushColours), kFourColours);
    // The picture's frame: 6.95 x 9.7 inches in 1/100 mm.
    EXPECT_NEAR(summary.frameWidth, 17653, 1);
    EXPECT_NEAR(summary.frameHeight, 24638, 1);
    // About 9 KB, like the picture it stands for; no bitmap hides in it.
    EXPECT_GT(emf.size(), 6000u);
    EXPECT_LT(emf.size(), 16000u);
}

TEST(StarPicture, LayoutIsReproducibleAndStaysInsideThePicture) {
    const auto first = stars::backgroundStars();
    EXPECT_EQ(stars::starPictureEmf(first), stars::starPictureEmf(stars::backgroundStars()));
    for (const stars::Star& s : first) {
        EXPECT_GE(s.x - s.radius, 0);
        EXPECT_GE(s.y - s.radius, 0);
        EXPECT_LE(s.x + s.radius, stars::kWidthMm);
        EXPECT_LE(s.y + s.radius, stars::kHeightMm);
    }
}

TEST(StarPicture, LeavesTheTextAreasClear) {
    // The event name and details areas, in picture millimetres (the picture's corner sits
    // at 1117 x 836 twips on the page).
    auto mm = [](double twips) { return twips / 1440 * 25.4; };
    struct Area {
        double l, t, r, b;
    };
    const Area areas[] = {
        {mm(2220 - 1117), mm(6884 - 836), mm(2220 + 7635 - 1117), mm(6884 + 970 - 836)},
        {mm(3780 - 1117), mm(10800 - 836), mm(3780 + 7020 - 1117), mm(10800 + 3567 - 836)},
        {mm(4162 - 1117), mm(5484 - 836), mm(4162 + 3634 - 1117), mm(5484 + 989 - 836)},
    };
    for (const stars::Star& s : stars::backgroundStars())
        for (const Area& a : areas)
            EXPECT_FALSE(s.x + s.radius > a.l && s.x - s.radius < a.r && s.y + s.radius > a.t &&
                         s.y - s.radius < a.b)
                << "star at " << s.x << ", " << s.y;
}

TEST(StarPicture, ReaderRejectsDamagedFiles) {
    std::string emf = stars::starPictureEmf(stars::backgroundStars());
    EXPECT_FALSE(stars::readEmf(emf.substr(0, emf.size() - 20)).valid); // no EOF record
    EXPECT_FALSE(stars::readEmf("not a metafile").valid);
    emf[48] ^= 1; // the header's byte count no longer matches
    EXPECT_FALSE(stars::readEmf(emf).valid);
}

} // namespace
