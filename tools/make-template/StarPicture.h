// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The "Star background" picture of the invitation: an enhanced metafile (EMF) of filled
// five-point stars in two golds and two purples, framing the page and leaving the text
// areas clear. Drawn in plain C++, record by record, so the template's picture is
// reproducible from source.

#include <cstdint>
#include <string>
#include <vector>

namespace stars {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The four star colours.
inline constexpr Rgb kGoldLight{255, 220, 131};
inline constexpr Rgb kGold{255, 204, 102};
inline constexpr Rgb kPurpleDeep{99, 87, 171};
inline constexpr Rgb kPurpleLight{184, 128, 255};

struct Star {
    double x, y;     // centre, millimetres from the picture's top-left corner
    double radius;   // outer radius, millimetres
    double rotation; // degrees, 0 = one point straight up
    Rgb colour;
};

// Picture size in millimetres (6.95 x 9.7 inches: the background box less its inner margins).
inline constexpr double kWidthMm = 176.53;
inline constexpr double kHeightMm = 246.38;
inline constexpr int kStarCount = 76;

// The stars of the background, always the same layout.
std::vector<Star> backgroundStars();

// The stars drawn as an EMF file (bytes).
std::string starPictureEmf(const std::vector<Star>& stars);

// What a reader of an EMF finds in it: enough to check a picture without drawing it.
struct EmfSummary {
    bool valid = false; // header signature, sizes and the closing EOF record agree
    std::uint32_t records = 0;
    std::int32_t frameWidth = 0, frameHeight = 0; // 1/100 mm
    int polygons = 0;                             // filled polygons
    std::vector<Rgb> brushColours;                // colour of each brush created, in order
    std::vector<Rgb> fillColours;                 // colour each polygon was filled with, in order
    std::string error;
};
EmfSummary readEmf(const std::string& bytes);

} // namespace stars
