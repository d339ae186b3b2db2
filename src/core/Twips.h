// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

// Window positions and sizes are designed in twips; the screen has 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;

// Twips to the nearest pixel (halves up). The window designs are whole pixels (multiples of
// 15 twips), so their layout is exact; picture positions and sizes round.
constexpr int px(double twips) {
    const double pixels = twips / kTwipsPerPixel + 0.5;
    const int whole = int(pixels);
    return pixels < whole ? whole - 1 : whole; // floor, also below zero
}
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
