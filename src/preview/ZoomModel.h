// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

class Prompts;

// What the zoom model asks of the window that shows the page. Every length is in twips.
// None of these fail.
class ZoomSurface {
public:
    virtual ~ZoomSurface() = default;
    // The page drops the picture it was loaded with; what was drawn on it stays.
    virtual void dropPagePicture() = 0;
    // Draws the unscaled page onto the page, stretching the source rectangle
    // (0, 0, sourceWidth, sourceHeight) onto (0, 0, width, height).
    virtual void drawScaled(int sourceWidth, int sourceHeight, int width, int height) = 0;
    // The window's pointer back to the default arrow.
    virtual void resetPointer() = 0;
    // The page's position or size changed.
    virtual void pageMoved() = 0;
    // A scroll bar's value, maximum or enabled state changed.
    virtual void scrollBarsChanged() = 0;
};

// The preview's zoom, drag and scroll arithmetic, kept apart from the widgets. It owns the
// geometry of the page (the picture as shown, possibly zoomed), of the page frame (the
// viewport that clips it) and of the unscaled page (the hidden copy every zoom is drawn
// from), and the state of the two scroll bars; the window mirrors them.
class ZoomModel {
public:
    static constexpr float kZoomStep = 0.25f;
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 4.0f;
    static constexpr int kWidthLimit = 10200;
    static constexpr int kHeightLimit = 14100;
    static constexpr int kSourceMargin = 2;
    static constexpr int kFineScrollLimit = 100;
    static constexpr int kCoarseStep = 10;

    struct Rect {
        float left = 0;
        float top = 0;
        int width = 0;
        int height = 0;
    };
    struct ScrollBar {
        int value = 0;
        int maximum = 99;
        bool enabled = true;
        // How far the page moves per unit of the bar: 0 (the page fits the viewport that
        // way), 1 or 10.
        int16_t step = 0;
        // The units the viewport's inside spans, so that the thumb is as long, in proportion,
        // as the part of the page in view.
        int pageStep = 10;
        bool operator==(const ScrollBar&) const = default;
    };
    enum class Bar { Horizontal, Vertical };

    // viewportWidth/Height: the page frame's outer size; viewportBorder and unscaledBorder:
    // the border width on each side of the page frame and of the unscaled page.
    ZoomModel(Prompts& prompts, ZoomSurface& surface, int viewportWidth, int viewportHeight,
              int viewportBorder, int unscaledBorder);

    // The page sizes itself to a newly assigned picture (its position stays).
    void pageLoaded(int width, int height);
    // The unscaled page takes the page's current size (it then holds the same picture).
    void takeUnscaledSizeFromPage();

    // Back to 100 %, drawn from the whole unscaled page; draws nothing.
    void resetZoom();
    void zoomIn();
    void zoomOut();
    // A zoom outside 0.25 .. 4 changes nothing.
    void setZoom(float zoom);
    // Draws the page at the current zoom (its own error trap), keeping the point at the
    // viewport's centre where it was, and fits the scroll bars to the page as drawn.
    void drawAtZoom();
    // Puts the page at the top left and gives the scroll bars steps and maxima for the page
    // as it is now: their ranges reach every part of it. Throws when a maximum does not fit
    // a scroll bar.
    void fitScrollBarsToPage();

    // The scroll bars' change handler (the user moved a bar, or the program set a value).
    void scrollValueChanged(Bar which, int value);

    // A drag on the page; positions are in the page's own coordinates.
    void beginDrag(float x, float y);
    void drag(bool buttonHeld, float x, float y);
    // Sets the scroll bars to where the drag left the page, which stays there (its own error
    // trap).
    void endDrag();

    float zoom() const { return mZoom; }
    int sourceWidth() const { return mSourceWidth; }
    int sourceHeight() const { return mSourceHeight; }
    int zoomedWidth() const { return mZoomedWidth; }
    int zoomedHeight() const { return mZoomedHeight; }
    const Rect& page() const { return mPage; }
    int viewportInnerWidth() const { return mViewportWidth - 2 * mViewportBorder; }
    int viewportInnerHeight() const { return mViewportHeight - 2 * mViewportBorder; }
    int unscaledWidth() const { return mUnscaledWidth; }
    int unscaledHeight() const { return mUnscaledHeight; }
    const ScrollBar& scrollBar(Bar bar) const {
        return bar == Bar::Horizontal ? mHorizontal : mVertical;
    }

private:
    ScrollBar& bar(Bar which) { return which == Bar::Horizontal ? mHorizontal : mVertical; }
    void fitScrollBars();
    void fitScrollBar(Bar which, int pageSize, int innerSize, float offset);
    // The bar's value that shows the page at this offset.
    int16_t valueAt(Bar which, float offset) const;
    void setScrollValueQuietly(Bar which, int value);
    void movePage(float left, float top);
    // Where the page stands after a zoom from oldSize to newSize, keeping the point at the
    // viewport's centre in place.
    float offsetAfterZoom(float offset, int oldSize, int newSize, int innerSize) const;
    float clampedOffset(float offset, int innerSize, int pageSize) const;

    Prompts& mPrompts;
    ZoomSurface& mSurface;
    const int mViewportWidth;
    const int mViewportHeight;
    const int mViewportBorder;
    const int mUnscaledBorder;

    Rect mPage;
    int mUnscaledWidth = 0;
    int mUnscaledHeight = 0;
    ScrollBar mHorizontal;
    ScrollBar mVertical;

    float mZoom = 1.0f;
    // The rectangle of the unscaled page every zoom is drawn from, and the page's size at
    // the current zoom.
    int32_t mSourceWidth = 0;
    int32_t mSourceHeight = 0;
    int32_t mZoomedWidth = 0;
    int32_t mZoomedHeight = 0;
    // Where the drag took hold of the page, in the page's own coordinates.
    float mGrabX = 0;
    float mGrabY = 0;
};

// Rounds to the nearest integer, ties to the even one.
double roundHalfEven(double value);
// A value stored in a 16-bit integer: rounded, ties to even; throws "Overflow" when it
// does not fit.
int16_t toInt16(double value);
// The same for a 32-bit integer.
int32_t toInt32(double value);
