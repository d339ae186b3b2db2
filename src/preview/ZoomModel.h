#pragma once

#include <cstdint>

class Prompts;
class ErrorTrap;

// What the zoom model asks of the window that shows the picture. Every length is in twips.
class ZoomSurface {
public:
    virtual ~ZoomSurface() = default;
    // Picture1 drops its loaded picture; its persistent drawing surface stays.
    virtual void removePicture() = 0;
    // Draws the unscaled picture held by Zoom_Ori onto Picture1, stretching the source
    // rectangle (0, 0, sourceWidth, sourceHeight) onto (0, 0, width, height).
    virtual void drawZoomed(int sourceWidth, int sourceHeight, int width, int height) = 0;
    // The window's pointer back to the default arrow.
    virtual void resetPointer() = 0;
    // Picture1's position or size changed.
    virtual void pictureMoved() = 0;
    // A scroll bar's value, maximum or enabled state changed.
    virtual void scrollBarsChanged() = 0;
};

// The preview's zoom, drag and scroll arithmetic, kept apart from the widgets. It owns the
// geometry of Picture1 (the picture), Picture2 (the viewport that clips it) and Zoom_Ori
// (the unscaled source), and the state of the two scroll bars; the window mirrors them.
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
    };
    enum class Bar { Horizontal, Vertical };

    // viewportWidth/Height: Picture2's outer size; viewportBorder and sourceBorder: the
    // border width on each side of Picture2 and of Zoom_Ori.
    ZoomModel(Prompts& prompts, ZoomSurface& surface, int viewportWidth, int viewportHeight,
              int viewportBorder, int sourceBorder);

    // Picture1 sizes itself to a newly assigned picture (its position stays).
    void pictureLoaded(int width, int height);
    // Zoom_Ori takes Picture1's current size (it then holds the same picture).
    void sourceWidthFromPicture();
    void sourceHeightFromPicture();

    // Zoom initialisation, as numbered statements of the caller's trap.
    void initialiseZoom(ErrorTrap& trap);
    // 0 zooms in, any other value zooms out.
    void ZoomStep(int direction);
    void SetZoom(float zoom);
    // Draws the picture at the current zoom (its own error trap).
    void RedrawImage();
    // Scroll steps and maxima for the picture as it is now. Throws on overflow.
    void SetupScrollbars();

    // The scroll bars' change handlers (the user moved a bar, or the program set a value).
    void scrollValueChanged(Bar bar, int value);

    // Drag on Picture1; positions are in the picture's own coordinates.
    void picture1_MouseDown(float x, float y);
    void picture1_MouseMove(bool buttonHeld, float x, float y);
    void Picture1_MouseUp();

    // A scroll bar at a percentage of its maximum; outside 0..100 nothing happens.
    void SetHScrollbarByPercent(int16_t percent);
    void SetVScrollbarByPercent(int16_t percent);

    float zoom() const { return mZoom; }
    int origWidth() const { return mOrigWidth; }
    int origHeight() const { return mOrigHeight; }
    int zoomWidth() const { return mZoomWidth; }
    int zoomHeight() const { return mZoomHeight; }
    int16_t hStep() const { return mHStep; }
    int16_t vStep() const { return mVStep; }
    const Rect& picture() const { return mPicture1; }
    int viewportInnerWidth() const { return mViewportWidth - 2 * mViewportBorder; }
    int viewportInnerHeight() const { return mViewportHeight - 2 * mViewportBorder; }
    int sourceWidth() const { return mSourceWidth; }
    int sourceHeight() const { return mSourceHeight; }
    const ScrollBar& scrollBar(Bar bar) const { return bar == Bar::Horizontal ? mHScroll : mVScroll; }

private:
    ScrollBar& bar(Bar which) { return which == Bar::Horizontal ? mHScroll : mVScroll; }
    void setScrollValue(Bar which, int value);
    void setScrollMaximum(Bar which, int maximum);
    void setScrollEnabled(Bar which, bool enabled);
    void setupDirection(Bar which, int pictureSize, int viewportSize, int16_t& step);
    void setByPercent(Bar which, int16_t percent);
    void movePicture(float left, float top);

    Prompts& mPrompts;
    ZoomSurface& mSurface;
    const int mViewportWidth;
    const int mViewportHeight;
    const int mViewportBorder;
    const int mSourceBorder;

    Rect mPicture1;
    int mSourceWidth = 0;
    int mSourceHeight = 0;
    ScrollBar mHScroll;
    ScrollBar mVScroll;

    float mZoom = 1.0f;
    int32_t mOrigWidth = 0;
    int32_t mOrigHeight = 0;
    int32_t mZoomWidth = 0;
    int32_t mZoomHeight = 0;
    int16_t mHStep = 0;
    int16_t mVStep = 0;
    float mDragX = 0;
    float mDragY = 0;
};

// Rounds to the nearest integer, ties to the even one.
double roundHalfEven(double value);
// A value stored in a 16-bit integer: rounded, ties to even; throws "Overflow" when it
// does not fit.
int16_t toInt16(double value);
// The same for a 32-bit integer.
int32_t toInt32(double value);
