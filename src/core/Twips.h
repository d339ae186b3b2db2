#pragma once

#include <QRect>

// Window positions and sizes are designed in twips; the screen has 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) { return twips / kTwipsPerPixel; }
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
