#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "preview/ZoomModel.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <set>

namespace {
struct RecordingSurface : ZoomSurface {
    struct Draw {
        int sourceWidth, sourceHeight, width, height;
    };
    std::vector<Draw> draws;
    int removed = 0;
    int pointerResets = 0;

    void removePicture() override { ++removed; }
    void drawZoomed(int sw, int sh, int w, int h) override { draws.push_back({sw, sh, w, h}); }
    void resetPointer() override { ++pointerResets; }
    void pictureMoved() override {}
    void scrollBarsChanged() override {}
};

using Bar = ZoomModel::Bar;

// The preview's viewport: 9330 x 7425 twips with a 30-twip border; Zoom_Ori's border is
// 30 twips too, so a picture loaded at W x H is drawn from (W - 62) x (H - 62).
struct Preview {
    ScriptedPrompts prompts;
    RecordingSurface surface;
    ZoomModel model{prompts, surface, 9330, 7425, 30, 30};

    explicit Preview(int width, int height) {
        model.pictureLoaded(width, height);
        model.sourceWidthFromPicture();
        model.sourceHeightFromPicture();
        ErrorTrap trap(prompts, QStringLiteral("in Festoria2021/08/31.Form2.Form_Activate "));
        model.initialiseZoom(trap);
        model.RedrawImage();
        model.SetupScrollbars();
    }
    // A drag as the window reports it: the pointer in viewport twips becomes the picture's
    // own coordinates.
    void press(float vx, float vy) {
        model.picture1_MouseDown(vx - model.picture().left, vy - model.picture().top);
    }
    void move(float vx, float vy, bool held = true) {
        model.picture1_MouseMove(held, vx - model.picture().left, vy - model.picture().top);
    }
};

// An invitation page as the request hands it over: 6120 x 7920 twips.
constexpr int kPageWidth = 6120;
constexpr int kPageHeight = 7920;
} // namespace

TEST(ZoomModel, RoundingIsToEvenAndConversionsOverflow) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_THROW(toInt16(32767.5), AppError);
    EXPECT_THROW(toInt16(-32769), AppError);
    EXPECT_EQ(toInt32(-1.5), -2);
}

TEST(ZoomModel, FirstShowDrawsTheInvitationAtFullSize) {
    Preview p(kPageWidth, kPageHeight);
    EXPECT_EQ(p.model.zoom(), 1.0f);
    EXPECT_EQ(p.model.origWidth(), 6058);
    EXPECT_EQ(p.model.origHeight(), 7858);
    ASSERT_EQ(p.surface.draws.size(), 1u);
    EXPECT_EQ(p.surface.draws[0].sourceWidth, 6058);
    EXPECT_EQ(p.surface.draws[0].width, 6058);
    EXPECT_EQ(p.surface.draws[0].height, 7858);
    EXPECT_EQ(p.model.picture().width, 6058);
    // Fits across: no horizontal scrolling. 433 twips too high: steps of 10, maximum 43.
    EXPECT_EQ(p.model.hStep(), 0);
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_EQ(p.model.vStep(), 10);
    EXPECT_TRUE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 43);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, SixteenLevelsAreReachableAndStepsBeyondThemAreRefused) {
    // Small enough never to meet the size limit: drawn from 1439 x 1439 twips.
    Preview p(1501, 1501);
    std::set<float> levels{p.model.zoom()};
    for (int i = 0; i < 5; ++i) {
        p.model.ZoomStep(1);
        levels.insert(p.model.zoom());
    }
    EXPECT_EQ(p.model.zoom(), 0.25f);
    // floor, not rounding: 0.25 x 1439 = 359.75.
    EXPECT_EQ(p.model.zoomWidth(), 359);
    const size_t drawsAtBottom = p.surface.draws.size();
    p.model.ZoomStep(1);
    EXPECT_EQ(p.surface.draws.size(), drawsAtBottom);
    for (int i = 0; i < 20; ++i) {
        p.model.ZoomStep(0);
        levels.insert(p.model.zoom());
    }
    EXPECT_EQ(p.model.zoom(), 4.0f);
    EXPECT_EQ(levels.size(), 16u);
    EXPECT_EQ(*levels.begin(), 0.25f);
    EXPECT_EQ(p.surface.draws.back().width, 5756);
    // Any direction other than 0 zooms out.
    p.model.ZoomStep(-7);
    EXPECT_EQ(p.model.zoom(), 3.75f);
}

TEST(ZoomModel, TooLargeAPictureGoesBackTo100PercentWithoutRedrawing) {
    Preview p(kPageWidth, kPageHeight);
    p.model.ZoomStep(0); // 1.25
    p.model.ZoomStep(0); // 1.5: 9087 x 11787
    ASSERT_EQ(p.model.zoom(), 1.5f);
    EXPECT_EQ(p.model.picture().width, 9087);
    EXPECT_EQ(p.model.picture().height, 11787);
    const size_t draws = p.surface.draws.size();
    const int resets = p.surface.pointerResets;
    p.model.ZoomStep(0); // 1.75 would be 10601 wide
    EXPECT_EQ(p.model.zoom(), 1.0f);
    EXPECT_EQ(p.surface.draws.size(), draws);
    EXPECT_EQ(p.surface.pointerResets, resets);
    EXPECT_EQ(p.model.picture().width, 9087); // stays as last drawn
    EXPECT_EQ(p.model.zoomWidth(), 6058);
    EXPECT_EQ(p.model.zoomHeight(), 7858);
    p.model.ZoomStep(0);
    EXPECT_EQ(p.model.zoom(), 1.25f);
    EXPECT_EQ(p.model.picture().width, 7572); // floor(7572.5)
    EXPECT_EQ(p.model.picture().height, 9822);

    // The height limit: 11280 x 1.25 = 14100 is refused.
    Preview tall(2000, 11280 + 62);
    tall.model.ZoomStep(0);
    EXPECT_EQ(tall.model.zoom(), 1.0f);

    // The width limit is exclusive of 10200 itself: 8160 x 1.25 is refused, 8159 is not.
    Preview wide(8160 + 62, 2000);
    wide.model.ZoomStep(0);
    EXPECT_EQ(wide.model.zoom(), 1.0f);
    Preview justUnder(8159 + 62, 2000);
    justUnder.model.ZoomStep(0);
    EXPECT_EQ(justUnder.model.zoom(), 1.25f);
    EXPECT_EQ(justUnder.model.picture().width, 10198);
}

TEST(ZoomModel, ScrollStepsFollowHowFarThePictureExceedsTheViewport) {
    // 100 twips over: fine steps of 1 up to 100.
    Preview fine(7000, 7425 + 100 + 62);
    EXPECT_EQ(fine.model.vStep(), 1);
    EXPECT_EQ(fine.model.scrollBar(Bar::Vertical).maximum, 100);
    // 101 over: coarse steps, maximum rounded ties-to-even (14.5 -> 14, 15.5 -> 16).
    Preview coarse(7000, 7425 + 145 + 62);
    EXPECT_EQ(coarse.model.vStep(), 10);
    EXPECT_EQ(coarse.model.scrollBar(Bar::Vertical).maximum, 14);
    Preview coarser(7000, 7425 + 155 + 62);
    EXPECT_EQ(coarser.model.scrollBar(Bar::Vertical).maximum, 16);
    // Exactly as wide as the viewport counts as fitting; maximum and value are left alone.
    Preview exact(9330 + 62, 2000);
    EXPECT_EQ(exact.model.hStep(), 0);
    EXPECT_FALSE(exact.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_EQ(exact.model.scrollBar(Bar::Horizontal).maximum, 99);
}

TEST(ZoomModel, ScrollBarsMoveThePictureAndZoomingResetsOnlyChangedValues) {
    Preview p(10000, 12000); // 9938 x 11938: larger than the viewport both ways
    ASSERT_EQ(p.model.hStep(), 10);
    p.model.scrollValueChanged(Bar::Vertical, 5);
    EXPECT_EQ(p.model.picture().top, -50);
    // A small drag across that leaves the horizontal value at 0.
    p.press(1000, 1000);
    p.move(998, 1000);
    p.model.Picture1_MouseUp();
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).value, 0);
    EXPECT_EQ(p.model.picture().left, -2);
    p.model.ZoomStep(1);
    EXPECT_EQ(p.model.picture().top, 0);    // the value changed: back to 0
    EXPECT_EQ(p.model.picture().left, -2); // it did not: the picture stays
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 0);
    // Zooming switches the bars on or off but keeps the maxima of the 100 % picture.
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 451);
    p.model.ZoomStep(1); // 0.5: 4969 x 5969 fits inside
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_FALSE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 451);
}

TEST(ZoomModel, ABarWithStepZeroLeavesThePictureWhereItIs) {
    Preview p(8000 + 62, 2000); // fits across at 100 %
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    p.model.ZoomStep(0); // 10000 wide: the bar is switched on
    EXPECT_TRUE(p.model.scrollBar(Bar::Horizontal).enabled);
    p.model.scrollValueChanged(Bar::Horizontal, 50);
    EXPECT_EQ(p.model.picture().left, 0);
}

TEST(ZoomModel, OffsetsBeyond16BitsDoNotOverflow) {
    // 40000 twips too high: the maximum is 4000 and the last position 40000 twips up.
    Preview p(7000, 7425 + 40000);
    ASSERT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 4000);
    p.model.scrollValueChanged(Bar::Vertical, 4000);
    EXPECT_EQ(p.model.picture().top, -40000);
    // A maximum that no scroll bar can hold is an error for the caller to report.
    ScriptedPrompts prompts;
    RecordingSurface surface;
    ZoomModel huge(prompts, surface, 9330, 7425, 30, 30);
    huge.pictureLoaded(7000, 7425 + 400000);
    EXPECT_THROW(huge.SetupScrollbars(), AppError);
}

TEST(ZoomModel, DragKeepsTheGrabbedPointUnderThePointerWithinLimits) {
    Preview p(10000, 12000); // 9938 x 11938 in a 9270 x 7365 inside
    p.press(1000, 1000);
    p.move(600, 300);
    EXPECT_EQ(p.model.picture().left, -400);
    EXPECT_EQ(p.model.picture().top, -700);
    p.move(500, 200);
    EXPECT_EQ(p.model.picture().left, -500);
    EXPECT_EQ(p.model.picture().top, -800);
    // No button held: nothing moves.
    p.move(0, 0, false);
    EXPECT_EQ(p.model.picture().left, -500);
    // Too far either way: edges stop at the viewport's inside.
    p.move(-5000, -9000);
    EXPECT_EQ(p.model.picture().left, 9270 - 9938);
    EXPECT_EQ(p.model.picture().top, 7365 - 11938);
    p.move(5000, 9000);
    EXPECT_EQ(p.model.picture().left, 0);
    EXPECT_EQ(p.model.picture().top, 0);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ASmallerPictureSticksToTheTopLeftOrTheBottomRight) {
    Preview p(1562, 1562); // 1500 x 1500
    p.press(100, 100);
    p.move(150, 150); // would move right and down: stays at 0
    EXPECT_EQ(p.model.picture().left, 0);
    EXPECT_EQ(p.model.picture().top, 0);
    p.move(90, 90); // any other drag: right and bottom edges at the inside's edges
    EXPECT_EQ(p.model.picture().left, 9270 - 1500);
    EXPECT_EQ(p.model.picture().top, 7365 - 1500);
    // On release the percentages are negative: the bars are left alone.
    const auto before = p.model.scrollBar(Bar::Horizontal);
    p.model.Picture1_MouseUp();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, before.value);
    EXPECT_EQ(p.model.picture().left, 9270 - 1500);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ReleaseSetsTheBarsByPercentRoundedToEven) {
    Preview p(10000, 12000); // 608 twips wider than the viewport: maximum 61
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).maximum, 61);
    p.press(1000, 1000);
    p.move(696, 1000); // left -304: 50 %, and 50 % of 61 is 30.5 -> 30
    p.model.Picture1_MouseUp();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 30);
    EXPECT_EQ(p.model.picture().left, -300); // the change handler places it by the step
    // Beyond 100 % (the clamp uses the inside, the percentage the outside): left alone.
    p.press(1000, 1000);
    p.move(-5000, 1000);
    p.model.Picture1_MouseUp();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 30);
    EXPECT_EQ(p.model.picture().left, 9270 - 9938);
    // Direct calls outside 0..100 change nothing either.
    p.model.SetVScrollbarByPercent(101);
    p.model.SetVScrollbarByPercent(-1);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 0);
    p.model.SetVScrollbarByPercent(100);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 451);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ReleaseWithThePictureAsWideAsTheViewportCountsAsZero) {
    Preview p(9330 + 62, 12000);
    p.model.scrollValueChanged(Bar::Vertical, 3);
    p.press(100, 100);
    p.move(100, 40);
    p.model.Picture1_MouseUp();
    EXPECT_TRUE(p.prompts.shown.isEmpty());
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 0);
    EXPECT_NE(p.model.scrollBar(Bar::Vertical).value, 3);
}
