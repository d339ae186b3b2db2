#include "preview/ZoomModel.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {
const QString kRedrawImage = QStringLiteral("in Festoria2021/08/31.Form2.RedrawImage ");
const QString kMouseDown = QStringLiteral("in Festoria2021/08/31.Form2.picture1_MouseDown ");
const QString kMouseMove = QStringLiteral("in Festoria2021/08/31.Form2.picture1_MouseMove ");
const QString kMouseUp = QStringLiteral("in Festoria2021/08/31.Form2.Picture1_MouseUp ");

AppError overflow() { return AppError(QStringLiteral("Overflow")); }

// A picture box refuses a negative size, as the window system does.
int checkedSize(int size) {
    if (size < 0)
        throw AppError(QStringLiteral("Invalid property value"));
    return size;
}
} // namespace

double roundHalfEven(double value) {
    // The default floating-point environment rounds to nearest, ties to even; make sure.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double result = std::nearbyint(value);
    std::fesetround(saved);
    return result;
}

int16_t toInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<int16_t>::min() &&
          rounded <= std::numeric_limits<int16_t>::max()))
        throw overflow();
    return static_cast<int16_t>(rounded);
}

int32_t toInt32(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<int32_t>::min() &&
          rounded <= std::numeric_limits<int32_t>::max()))
        throw overflow();
    return static_cast<int32_t>(rounded);
}

ZoomModel::ZoomModel(Prompts& prompts, ZoomSurface& surface, int viewportWidth,
                     int viewportHeight, int viewportBorder, int sourceBorder)
    : mPrompts(prompts), mSurface(surface), mViewportWidth(viewportWidth),
      mViewportHeight(viewportHeight), mViewportBorder(viewportBorder),
      mSourceBorder(sourceBorder) {}

void ZoomModel::pictureLoaded(int width, int height) {
    mPicture1.width = checkedSize(width);
    mPicture1.height = checkedSize(height);
    mSurface.pictureMoved();
}

void ZoomModel::sourceWidthFromPicture() { mSourceWidth = mPicture1.width; }
void ZoomModel::sourceHeightFromPicture() { mSourceHeight = mPicture1.height; }

void ZoomModel::initialiseZoom(ErrorTrap& trap) {
    trap(124, [&] { mZoom = 1.0f; });
    trap(126, [&] { mOrigWidth = toInt32(mSourceWidth - 2 * mSourceBorder - kSourceMargin); });
    trap(128, [&] { mOrigHeight = toInt32(mSourceHeight - 2 * mSourceBorder - kSourceMargin); });
    trap(130, [&] { mZoomWidth = toInt32(std::floor(mOrigWidth * 1.0)); });
    trap(132, [&] { mZoomHeight = toInt32(std::floor(mOrigHeight * 1.0)); });
}

void ZoomModel::ZoomStep(int direction) {
    const float zoom = direction == 0 ? mZoom + kZoomStep : mZoom - kZoomStep;
    SetZoom(zoom);
}

void ZoomModel::SetZoom(float zoom) {
    if (zoom >= kMinZoom && zoom <= kMaxZoom) {
        mZoom = zoom;
        RedrawImage();
    }
}

void ZoomModel::RedrawImage() {
    ErrorTrap trap(mPrompts, kRedrawImage);
    trap(100, [&] { mZoomWidth = toInt32(std::floor(double(mZoom) * double(mOrigWidth))); });
    trap(102, [&] { mZoomHeight = toInt32(std::floor(double(mZoom) * double(mOrigHeight))); });
    bool tooLarge = false;
    trap(104, [&] { tooLarge = mZoomWidth >= kWidthLimit || mZoomHeight >= kHeightLimit; });
    if (tooLarge) {
        // Too large to draw: back to 100 % without drawing; the picture keeps the size
        // last drawn, so the next step in starts again from 100 %.
        initialiseZoom(trap);
        return;
    }
    trap(106, [&] { mSurface.removePicture(); });
    trap(108, [&] {
        mPicture1.width = checkedSize(mZoomWidth);
        mSurface.pictureMoved();
    });
    trap(110, [&] {
        mPicture1.height = checkedSize(mZoomHeight);
        mSurface.pictureMoved();
    });
    trap(112, [&] { mSurface.drawZoomed(mOrigWidth, mOrigHeight, mZoomWidth, mZoomHeight); });
    trap(114, [&] { mSurface.resetPointer(); });
    trap(116, [&] { setScrollValue(Bar::Horizontal, 0); });
    trap(118, [&] { setScrollValue(Bar::Vertical, 0); });
    trap(120, [&] { setScrollEnabled(Bar::Horizontal, viewportInnerWidth() < mZoomWidth); });
    trap(122, [&] { setScrollEnabled(Bar::Vertical, viewportInnerHeight() < mZoomHeight); });
}

void ZoomModel::SetupScrollbars() {
    movePicture(mPicture1.left, 0);
    movePicture(0, mPicture1.top);
    setupDirection(Bar::Horizontal, mPicture1.width, mViewportWidth, mHStep);
    setupDirection(Bar::Vertical, mPicture1.height, mViewportHeight, mVStep);
}

void ZoomModel::setupDirection(Bar which, int pictureSize, int viewportSize, int16_t& step) {
    if (pictureSize <= viewportSize) {
        setScrollEnabled(which, false);
        step = 0;
        return;
    }
    // The order matters: a value change runs the change handler, which must see the new step.
    const float excess = float(pictureSize - viewportSize);
    setScrollEnabled(which, true);
    if (excess <= kFineScrollLimit) {
        setScrollMaximum(which, toInt16(excess));
        step = 1;
    } else {
        setScrollMaximum(which, toInt16(double(excess) / kCoarseStep));
        step = kCoarseStep;
    }
    setScrollValue(which, 0);
}

void ZoomModel::scrollValueChanged(Bar which, int value) {
    bar(which).value = value;
    // Offsets are 32-bit, so no picture is too large for them.
    const int32_t step = which == Bar::Horizontal ? mHStep : mVStep;
    const int32_t offset = -(step * int32_t(value));
    if (which == Bar::Horizontal)
        movePicture(float(offset), mPicture1.top);
    else
        movePicture(mPicture1.left, float(offset));
}

void ZoomModel::setScrollValue(Bar which, int value) {
    if (bar(which).value == value)
        return;
    scrollValueChanged(which, value);
    mSurface.scrollBarsChanged();
}

void ZoomModel::setScrollMaximum(Bar which, int maximum) {
    bar(which).maximum = maximum;
    mSurface.scrollBarsChanged();
    if (bar(which).value > maximum)
        setScrollValue(which, maximum);
}

void ZoomModel::setScrollEnabled(Bar which, bool enabled) {
    if (bar(which).enabled == enabled)
        return;
    bar(which).enabled = enabled;
    mSurface.scrollBarsChanged();
}

void ZoomModel::movePicture(float left, float top) {
    if (mPicture1.left == left && mPicture1.top == top)
        return;
    mPicture1.left = left;
    mPicture1.top = top;
    mSurface.pictureMoved();
}

void ZoomModel::picture1_MouseDown(float x, float y) {
    ErrorTrap trap(mPrompts, kMouseDown);
    trap(100, [&] { mDragX = x; });
    trap(102, [&] { mDragY = y; });
}

void ZoomModel::picture1_MouseMove(bool buttonHeld, float x, float y) {
    ErrorTrap trap(mPrompts, kMouseMove);
    bool held = true;
    trap(100, [&] { held = buttonHeld; });
    if (!held)
        return;
    trap(102, [&] {});
    // Positions are in the picture's own coordinates, so the point grabbed at the press
    // stays under the pointer. The picture never leaves a gap at the top or left, and a
    // larger picture never shows a gap at the right or bottom.
    float left = 0;
    trap(104, [&] { left = mPicture1.left - mDragX + x; });
    bool positive = false;
    trap(106, [&] { positive = left > 0; });
    if (positive) {
        trap(108, [&] { left = 0; });
    } else {
        bool beyond = false;
        trap(110, [&] { beyond = float(viewportInnerWidth() - mPicture1.width) > left; });
        if (beyond)
            trap(112, [&] { left = float(viewportInnerWidth() - mPicture1.width); });
    }
    float top = 0;
    trap(114, [&] { top = mPicture1.top - mDragY + y; });
    trap(116, [&] { positive = top > 0; });
    if (positive) {
        trap(118, [&] { top = 0; });
    } else {
        bool beyond = false;
        trap(120, [&] { beyond = float(viewportInnerHeight() - mPicture1.height) > top; });
        if (beyond)
            trap(122, [&] { top = float(viewportInnerHeight() - mPicture1.height); });
    }
    trap(124, [&] { movePicture(left, top); });
}

void ZoomModel::Picture1_MouseUp() {
    ErrorTrap trap(mPrompts, kMouseUp);
    // Where the picture stands, as a percentage of how far it can move. A picture exactly
    // as large as the viewport has nowhere to move: that counts as 0.
    const auto percent = [](float offset, int pictureSize, int viewportSize) -> int32_t {
        const int excess = pictureSize - viewportSize;
        if (excess == 0)
            return 0;
        // Multiplied first, so that an exact half stays exact and rounds to even.
        return toInt32(std::fabs(double(offset)) * 100.0 / double(excess));
    };
    int32_t h = 0;
    int32_t v = 0;
    trap(100, [&] { h = percent(mPicture1.left, mPicture1.width, mViewportWidth); });
    trap(102, [&] { v = percent(mPicture1.top, mPicture1.height, mViewportHeight); });
    trap(104, [&] { SetHScrollbarByPercent(toInt16(h)); });
    trap(106, [&] { SetVScrollbarByPercent(toInt16(v)); });
}

void ZoomModel::SetHScrollbarByPercent(int16_t percent) { setByPercent(Bar::Horizontal, percent); }
void ZoomModel::SetVScrollbarByPercent(int16_t percent) { setByPercent(Bar::Vertical, percent); }

void ZoomModel::setByPercent(Bar which, int16_t percent) {
    if (percent > 100 || percent < 0)
        return;
    setScrollValue(which, toInt16(double(percent) / 100.0 * double(bar(which).maximum)));
}
