// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/ZoomModel.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Procedures.h"

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
    enum class Step { ZoomedWidth = 100, ZoomedHeight = 102, PageWidth = 108, PageHeight = 110 };
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
    setScrollValue(Bar::Horizontal, 0);
    setScrollValue(Bar::Vertical, 0);
    setScrollEnabled(Bar::Horizontal, viewportInnerWidth() < mZoomedWidth);
    setScrollEnabled(Bar::Vertical, viewportInnerHeight() < mZoomedHeight);
}

void ZoomModel::fitScrollBarsToPage() {
    movePage(mPage.left, 0);
    movePage(0, mPage.top);
    fitScrollBar(Bar::Horizontal, mPage.width, mViewportWidth);
    fitScrollBar(Bar::Vertical, mPage.height, mViewportHeight);
}

void ZoomModel::fitScrollBar(Bar which, int pageSize, int viewportSize) {
    if (pageSize <= viewportSize) {
        setScrollEnabled(which, false);
        bar(which).step = 0;
        return;
    }
    // The order matters: a value change runs the change handler, which must see the new step.
    const float excess = float(pageSize - viewportSize);
    setScrollEnabled(which, true);
    if (excess <= kFineScrollLimit) {
        setScrollMaximum(which, toInt16(excess));
        bar(which).step = 1;
    } else {
        setScrollMaximum(which, toInt16(double(excess) / kCoarseStep));
        bar(which).step = kCoarseStep;
    }
    setScrollValue(which, 0);
}

void ZoomModel::scrollValueChanged(Bar which, int value) {
    bar(which).value = value;
    // Offsets are 32-bit, so no page is too large for them.
    const int32_t offset = -(int32_t(bar(which).step) * int32_t(value));
    if (which == Bar::Horizontal)
        movePage(float(offset), mPage.top);
    else
        movePage(mPage.left, float(offset));
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
    // The percentages overflow only for a page far larger than any invitation, or one a
    // twip or so from the viewport's size.
    enum class Step {
        HorizontalPercent = 100,
        VerticalPercent = 102,
        HorizontalBar = 104,
        VerticalBar = 106
    };
    StepTrap<Step> trap(mPrompts, procedures::endDrag);
    // Where the page stands, as a percentage of how far it can move. A page exactly as
    // large as the viewport has nowhere to move: that counts as 0.
    const auto percent = [](float offset, int pageSize, int viewportSize) -> int32_t {
        const int excess = pageSize - viewportSize;
        if (excess == 0)
            return 0;
        // Multiplied first, so that an exact half stays exact and rounds to even.
        return toInt32(std::fabs(double(offset)) * 100.0 / double(excess));
    };
    int32_t h = 0;
    int32_t v = 0;
    trap(Step::HorizontalPercent, [&] { h = percent(mPage.left, mPage.width, mViewportWidth); });
    trap(Step::VerticalPercent, [&] { v = percent(mPage.top, mPage.height, mViewportHeight); });
    trap(Step::HorizontalBar, [&] { setScrollPercent(Bar::Horizontal, toInt16(h)); });
    trap(Step::VerticalBar, [&] { setScrollPercent(Bar::Vertical, toInt16(v)); });
}

void ZoomModel::setScrollPercent(Bar which, int16_t percent) {
    if (percent > 100 || percent < 0)
        return;
    setScrollValue(which, toInt16(double(percent) / 100.0 * double(bar(which).maximum)));
}
