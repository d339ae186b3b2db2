// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/ZoomModel.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Procedures.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

namespace {
AppError overflow() {
    return AppError(QStringLiteral("Overflow"));
}

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

ZoomModel::ZoomModel(Prompts& prompts, ZoomSurface& surface, int viewportWidth, int viewportHeight,
                     int viewportBorder, int unscaledBorder)
    : mPrompts(prompts), mSurface(surface), mViewportWidth(viewportWidth),
      mViewportHeight(viewportHeight), mViewportBorder(viewportBorder),
      mUnscaledBorder(unscaledBorder) {}

void ZoomModel::pageLoaded(int width, int height) {
    mPage.width = checkedSize(width);
    mPage.height = checkedSize(height);
    mSurface.pageMoved();
}

void ZoomModel::takeUnscaledSizeFromPage() {
    mUnscaledWidth = mPage.width;
    mUnscaledHeight = mPage.height;
}

void ZoomModel::resetZoom() {
    mZoom = 1.0f;
    mSourceWidth = mUnscaledWidth - 2 * mUnscaledBorder - kSourceMargin;
    mSourceHeight = mUnscaledHeight - 2 * mUnscaledBorder - kSourceMargin;
    mZoomedWidth = mSourceWidth;
    mZoomedHeight = mSourceHeight;
}

void ZoomModel::zoomIn() {
    setZoom(mZoom + kZoomStep);
}
void ZoomModel::zoomOut() {
    setZoom(mZoom - kZoomStep);
}

void ZoomModel::setZoom(float zoom) {
    if (zoom >= kMinZoom && zoom <= kMaxZoom) {
        mZoom = zoom;
        drawAtZoom();
    }
}

void ZoomModel::drawAtZoom() {
    // A page far larger than any invitation overflows the sizes; a source smaller than the
    // unscaled page's border gives a negative size, which the page refuses.
    enum class Step {
        ZoomedWidth = 100,
        ZoomedHeight = 102,
        PageWidth = 108,
        PageHeight = 110,
        HorizontalBar = 116,
        VerticalBar = 118
    };
    StepTrap<Step> trap(mPrompts, procedures::drawAtZoom);
    trap(Step::ZoomedWidth,
         [&] { mZoomedWidth = toInt32(std::floor(double(mZoom) * double(mSourceWidth))); });
    trap(Step::ZoomedHeight,
         [&] { mZoomedHeight = toInt32(std::floor(double(mZoom) * double(mSourceHeight))); });
    if (mZoomedWidth >= kWidthLimit || mZoomedHeight >= kHeightLimit) {
        // Too large to draw: back to 100 % without drawing; the page keeps the size last
        // drawn, so the next step in starts again from 100 %.
        resetZoom();
        return;
    }
    const int oldWidth = mPage.width;
    const int oldHeight = mPage.height;
    mSurface.dropPagePicture();
    trap(Step::PageWidth, [&] {
        mPage.width = checkedSize(mZoomedWidth);
        mSurface.pageMoved();
    });
    trap(Step::PageHeight, [&] {
        mPage.height = checkedSize(mZoomedHeight);
        mSurface.pageMoved();
    });
    mSurface.drawScaled(mSourceWidth, mSourceHeight, mZoomedWidth, mZoomedHeight);
    mSurface.resetPointer();
    movePage(offsetAfterZoom(mPage.left, oldWidth, mPage.width, viewportInnerWidth()),
             offsetAfterZoom(mPage.top, oldHeight, mPage.height, viewportInnerHeight()));
    trap(Step::HorizontalBar,
         [&] { fitScrollBar(Bar::Horizontal, mPage.width, viewportInnerWidth(), mPage.left); });
    trap(Step::VerticalBar,
         [&] { fitScrollBar(Bar::Vertical, mPage.height, viewportInnerHeight(), mPage.top); });
}

float ZoomModel::offsetAfterZoom(float offset, int oldSize, int newSize, int innerSize) const {
    if (oldSize <= 0 || newSize <= innerSize)
        return 0;
    const double centre = innerSize / 2.0 - offset; // in the page's own coordinates
    const double moved = innerSize / 2.0 - centre * newSize / oldSize;
    return clampedOffset(float(std::round(moved)), innerSize, newSize);
}

void ZoomModel::fitScrollBarsToPage() {
    movePage(mPage.left, 0);
    movePage(0, mPage.top);
    fitScrollBars();
}

void ZoomModel::fitScrollBars() {
    fitScrollBar(Bar::Horizontal, mPage.width, viewportInnerWidth(), mPage.left);
    fitScrollBar(Bar::Vertical, mPage.height, viewportInnerHeight(), mPage.top);
}

// The bar spans what the viewport's inside does not show of the page, so that its last
// position shows the page's far edge; the bar's value is where the page stands.
void ZoomModel::fitScrollBar(Bar which, int pageSize, int innerSize, float offset) {
    ScrollBar& b = bar(which);
    const int excess = pageSize - innerSize;
    if (excess <= 0) {
        b = ScrollBar{0, 0, false, 0, 1};
    } else {
        b.step = excess <= kFineScrollLimit ? 1 : kCoarseStep;
        // Whole steps reach past the far edge; the page stops there (scrollValueChanged).
        b.maximum = toInt16(std::ceil(double(excess) / b.step));
        b.pageStep = std::max(1, innerSize / b.step);
        b.enabled = true;
        b.value = valueAt(which, offset);
    }
    mSurface.scrollBarsChanged();
}

int16_t ZoomModel::valueAt(Bar which, float offset) const {
    const ScrollBar& b = scrollBar(which);
    if (b.step == 0)
        return 0;
    return int16_t(std::clamp<int>(toInt16(-double(offset) / b.step), 0, b.maximum));
}

void ZoomModel::scrollValueChanged(Bar which, int value) {
    bar(which).value = value;
    // Offsets are 32-bit, so no page is too large for them; the last whole step may reach
    // past the page's far edge, which stops at the viewport's.
    const float offset = float(-(int32_t(bar(which).step) * int32_t(value)));
    if (which == Bar::Horizontal)
        movePage(clampedOffset(offset, viewportInnerWidth(), mPage.width), mPage.top);
    else
        movePage(mPage.left, clampedOffset(offset, viewportInnerHeight(), mPage.height));
}

void ZoomModel::setScrollValueQuietly(Bar which, int value) {
    if (bar(which).value == value)
        return;
    bar(which).value = value;
    mSurface.scrollBarsChanged();
}

void ZoomModel::movePage(float left, float top) {
    if (mPage.left == left && mPage.top == top)
        return;
    mPage.left = left;
    mPage.top = top;
    mSurface.pageMoved();
}

void ZoomModel::beginDrag(float x, float y) {
    mGrabX = x;
    mGrabY = y;
}

float ZoomModel::clampedOffset(float offset, int innerSize, int pageSize) const {
    // The page never leaves a gap at the top or left, and a larger page never shows a gap
    // at the right or bottom.
    if (offset > 0)
        return 0;
    if (float(innerSize - pageSize) > offset)
        return float(innerSize - pageSize);
    return offset;
}

void ZoomModel::drag(bool buttonHeld, float x, float y) {
    if (!buttonHeld)
        return;
    // Positions are in the page's own coordinates, so the point grabbed at the press stays
    // under the pointer.
    const float left = clampedOffset(mPage.left - mGrabX + x, viewportInnerWidth(), mPage.width);
    const float top = clampedOffset(mPage.top - mGrabY + y, viewportInnerHeight(), mPage.height);
    movePage(left, top);
}

void ZoomModel::endDrag() {
    // The page stays where the drag left it; the bars only follow it.
    enum class Step {
        HorizontalValue = 100,
        VerticalValue = 102,
        HorizontalBar = 104,
        VerticalBar = 106
    };
    StepTrap<Step> trap(mPrompts, procedures::endDrag);
    int16_t h = 0;
    int16_t v = 0;
    trap(Step::HorizontalValue, [&] { h = valueAt(Bar::Horizontal, mPage.left); });
    trap(Step::VerticalValue, [&] { v = valueAt(Bar::Vertical, mPage.top); });
    trap(Step::HorizontalBar, [&] { setScrollValueQuietly(Bar::Horizontal, h); });
    trap(Step::VerticalBar, [&] { setScrollValueQuietly(Bar::Vertical, v); });
}
