// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/ZoomModel.h"
#include "core/AppError.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {
struct RecordingSurface : ZoomSurface {
    struct Draw {
        int sourceWidth, sourceHeight, width, height;
    };
    std::vector<Draw> draws;
    int removed = 0;
    int pointerResets = 0;

    void dropPagePicture() override { ++removed; }
    void drawScaled(int sw, int sh, int w, int h) override { draws.push_back({sw, sh, w, h}); }
    void resetPointer() override { ++pointerResets; }
    void pageMoved() override {}
    void scrollBarsChanged() override {}
};

using Bar = ZoomModel::Bar;

// The preview's viewport: 9330 x 7425 twips with a 30-twip border; the unscaled page's border
// is 30 twips too, so a page loaded at W x H is drawn from (W - 62) x (H - 62).
struct Preview {
    ScriptedPrompts prompts;
    RecordingSurface surface;
    ZoomModel model{prompts, surface, 9330, 7425, 30, 30};

    explicit Preview(int width, int height) {
        model.pageLoaded(width, height);
        model.takeUnscaledSizeFromPage();
        model.resetZoom();
        model.drawAtZoom();
        model.fitScrollBarsToPage();
    }
    // A drag as the window reports it: the pointer in viewport twips becomes the page's
    // own coordinates.
    void press(float vx, float vy) {
        model.beginDrag(vx - model.page().left, vy - model.page().top);
    }
    void move(float vx, float vy, bool held = true) {
        model.drag(held, vx - model.page().left, vy - model.page().top);
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
    EXPECT_EQ(p.model.sourceWidth(), 6058);
    EXPECT_EQ(p.model.sourceHeight(), 7858);
    ASSERT_EQ(p.surface.draws.size(), 1u);
    EXPECT_EQ(p.surface.draws[0].sourceWidth, 6058);
    EXPECT_EQ(p.surface.draws[0].width, 6058);
    EXPECT_EQ(p.surface.draws[0].height, 7858);
    EXPECT_EQ(p.model.page().width, 6058);
    // Fits across: no horizontal scrolling. 433 twips too high: steps of 10, maximum 43.
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).step, 0);
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).step, 10);
    EXPECT_TRUE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 43);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, SixteenLevelsAreReachableAndStepsBeyondThemAreRefused) {
    // Small enough never to meet the size limit: drawn from 1439 x 1439 twips.
    Preview p(1501, 1501);
    std::set<float> levels{p.model.zoom()};
    for (int i = 0; i < 5; ++i) {
        p.model.zoomOut();
        levels.insert(p.model.zoom());
    }
    EXPECT_EQ(p.model.zoom(), 0.25f);
    // floor, not rounding: 0.25 x 1439 = 359.75.
    EXPECT_EQ(p.model.zoomedWidth(), 359);
    const size_t drawsAtBottom = p.surface.draws.size();
    p.model.zoomOut();
    EXPECT_EQ(p.surface.draws.size(), drawsAtBottom);
    for (int i = 0; i < 20; ++i) {
        p.model.zoomIn();
        levels.insert(p.model.zoom());
    }
    EXPECT_EQ(p.model.zoom(), 4.0f);
    EXPECT_EQ(levels.size(), 16u);
    EXPECT_EQ(*levels.begin(), 0.25f);
    EXPECT_EQ(p.surface.draws.back().width, 5756);
}

TEST(ZoomModel, TooLargeAPictureGoesBackTo100PercentWithoutRedrawing) {
    Preview p(kPageWidth, kPageHeight);
    p.model.zoomIn(); // 1.25
    p.model.zoomIn(); // 1.5: 9087 x 11787
    ASSERT_EQ(p.model.zoom(), 1.5f);
    EXPECT_EQ(p.model.page().width, 9087);
    EXPECT_EQ(p.model.page().height, 11787);
    const size_t draws = p.surface.draws.size();
    const int resets = p.surface.pointerResets;
    p.model.zoomIn(); // 1.75 would be 10601 wide
    EXPECT_EQ(p.model.zoom(), 1.0f);
    EXPECT_EQ(p.surface.draws.size(), draws);
    EXPECT_EQ(p.surface.pointerResets, resets);
    EXPECT_EQ(p.model.page().width, 9087); // stays as last drawn
    EXPECT_EQ(p.model.zoomedWidth(), 6058);
    EXPECT_EQ(p.model.zoomedHeight(), 7858);
    p.model.zoomIn();
    EXPECT_EQ(p.model.zoom(), 1.25f);
    EXPECT_EQ(p.model.page().width, 7572); // floor(7572.5)
    EXPECT_EQ(p.model.page().height, 9822);

    // The limits: 11280 x 1.25 = 14100 high and 8160 x 1.25 = 10200 wide are refused; 8159 x
    // 1.25 = 10198 wide is not.
    for (const auto& [width, height, zoom] :
         {std::tuple{2000, 11280 + 62, 1.0f}, {8160 + 62, 2000, 1.0f}, {8159 + 62, 2000, 1.25f}}) {
        Preview edge(width, height);
        edge.model.zoomIn();
        EXPECT_EQ(edge.model.zoom(), zoom) << width << " x " << height;
    }
}

TEST(ZoomModel, ScrollStepsFollowHowFarThePictureExceedsTheViewport) {
    const struct {
        int width, height;
        Bar bar;
        ZoomModel::ScrollBar expected; // value, maximum, enabled, step
    } cases[] = {
        {7000, 7425 + 100 + 62, Bar::Vertical, {0, 100, true, 1}}, // fine steps of 1 up to 100
        // Coarse steps beyond, the maximum rounded ties-to-even (14.5 -> 14, 15.5 -> 16).
        {7000, 7425 + 145 + 62, Bar::Vertical, {0, 14, true, 10}},
        {7000, 7425 + 155 + 62, Bar::Vertical, {0, 16, true, 10}},
        // Exactly as wide as the viewport counts as fitting; maximum and value are left alone.
        {9330 + 62, 2000, Bar::Horizontal, {0, 99, false, 0}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Preview(c.width, c.height).model.scrollBar(c.bar) == c.expected) << c.height;
}

TEST(ZoomModel, ScrollBarsMoveThePictureAndZoomingResetsOnlyChangedValues) {
    Preview p(10000, 12000); // 9938 x 11938: larger than the viewport both ways
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).step, 10);
    p.model.scrollValueChanged(Bar::Vertical, 5);
    EXPECT_EQ(p.model.page().top, -50);
    // A small drag across that leaves the horizontal value at 0.
    p.press(1000, 1000);
    p.move(998, 1000);
    p.model.endDrag();
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).value, 0);
    EXPECT_EQ(p.model.page().left, -2);
    p.model.zoomOut();
    EXPECT_EQ(p.model.page().top, 0);   // the value changed: back to 0
    EXPECT_EQ(p.model.page().left, -2); // it did not: the picture stays
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 0);
    // Zooming switches the bars on or off but keeps the maxima of the 100 % picture.
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 451);
    p.model.zoomOut(); // 0.5: 4969 x 5969 fits inside
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_FALSE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 451);
}

// A zoom either way after a scroll either way starts the new picture at its top left corner.
TEST(ZoomModel, ZoomingAfterAScrollStartsAtTheTopLeft) {
    for (const Bar bar : {Bar::Horizontal, Bar::Vertical})
        for (const bool in : {false, true}) {
            SCOPED_TRACE(std::to_string(int(bar)) + (in ? " in" : " out"));
            Preview p(10000, 12000); // larger than the viewport both ways, at 75 % too
            if (in)
                p.model.zoomOut();
            p.model.scrollValueChanged(bar, 7);
            ASSERT_NE(p.model.page().left + p.model.page().top, 0);
            in ? p.model.zoomIn() : p.model.zoomOut();
            EXPECT_EQ(p.model.scrollBar(bar).value, 0);
            EXPECT_EQ(p.model.page().left, 0);
            EXPECT_EQ(p.model.page().top, 0);
        }
}

TEST(ZoomModel, ABarWithStepZeroLeavesThePictureWhereItIs) {
    Preview p(8000 + 62, 2000); // fits across at 100 %
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    p.model.zoomIn(); // 10000 wide: the bar is switched on
    EXPECT_TRUE(p.model.scrollBar(Bar::Horizontal).enabled);
    p.model.scrollValueChanged(Bar::Horizontal, 50);
    EXPECT_EQ(p.model.page().left, 0);
}

TEST(ZoomModel, OffsetsBeyond16BitsDoNotOverflow) {
    // 40000 twips too high: the maximum is 4000 and the last position 40000 twips up.
    Preview p(7000, 7425 + 40000);
    ASSERT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 4000);
    p.model.scrollValueChanged(Bar::Vertical, 4000);
    EXPECT_EQ(p.model.page().top, -40000);
    // A maximum that no scroll bar can hold is an error the window reports (its tests).
}

TEST(ZoomModel, DragKeepsTheGrabbedPointUnderThePointerWithinLimits) {
    Preview p(10000, 12000); // 9938 x 11938 in a 9270 x 7365 inside
    p.press(1000, 1000);
    p.move(600, 300);
    EXPECT_EQ(p.model.page().left, -400);
    EXPECT_EQ(p.model.page().top, -700);
    p.move(500, 200);
    EXPECT_EQ(p.model.page().left, -500);
    EXPECT_EQ(p.model.page().top, -800);
    // No button held: nothing moves.
    p.move(0, 0, false);
    EXPECT_EQ(p.model.page().left, -500);
    // Too far either way: edges stop at the viewport's inside.
    p.move(-5000, -9000);
    EXPECT_EQ(p.model.page().left, 9270 - 9938);
    EXPECT_EQ(p.model.page().top, 7365 - 11938);
    p.move(5000, 9000);
    EXPECT_EQ(p.model.page().left, 0);
    EXPECT_EQ(p.model.page().top, 0);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ASmallerPictureSticksToTheTopLeftOrTheBottomRight) {
    Preview p(1562, 1562); // 1500 x 1500
    p.press(100, 100);
    p.move(150, 150); // would move right and down: stays at 0
    EXPECT_EQ(p.model.page().left, 0);
    EXPECT_EQ(p.model.page().top, 0);
    p.move(90, 90); // any other drag: right and bottom edges at the inside's edges
    EXPECT_EQ(p.model.page().left, 9270 - 1500);
    EXPECT_EQ(p.model.page().top, 7365 - 1500);
    // On release the percentages are negative: the bars are left alone.
    const auto before = p.model.scrollBar(Bar::Horizontal);
    p.model.endDrag();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, before.value);
    EXPECT_EQ(p.model.page().left, 9270 - 1500);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ReleaseSetsTheBarsByPercentRoundedToEven) {
    Preview p(10000, 12000); // 608 twips wider than the viewport: maximum 61
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).maximum, 61);
    p.press(1000, 1000);
    p.move(696, 1000); // left -304: 50 %, and 50 % of 61 is 30.5 -> 30
    p.model.endDrag();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 30);
    EXPECT_EQ(p.model.page().left, -300); // the change handler places it by the step
    // Beyond 100 % (the clamp uses the inside, the percentage the outside): left alone.
    p.press(1000, 1000);
    p.move(-5000, 1000);
    p.model.endDrag();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 30);
    EXPECT_EQ(p.model.page().left, 9270 - 9938);
    p.model.setScrollPercent(Bar::Vertical, 100);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 451);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ReleaseWithThePictureAsWideAsTheViewportCountsAsZero) {
    Preview p(9330 + 62, 12000);
    p.model.scrollValueChanged(Bar::Vertical, 3);
    p.press(100, 100);
    p.move(100, 40);
    p.model.endDrag();
    EXPECT_TRUE(p.prompts.shown.isEmpty());
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 0);
    EXPECT_NE(p.model.scrollBar(Bar::Vertical).value, 3);
}

// The failures that can happen, reported with the numbers support knows.
TEST(ZoomModel, FailuresAreReportedAtTheirSteps) {
    // A page smaller than the unscaled page's border: the page refuses the negative sizes.
    Preview tiny(40, 40);
    EXPECT_EQ(tiny.prompts.reportLines(), (QList<int>{108, 110}));
    EXPECT_TRUE(tiny.prompts.reports().value(0).contains(QStringLiteral("Form2.RedrawImage")));
    // A page a twip wider than the viewport, scrolled far by a bar: the percentage overflows.
    Preview wide(18662 + 62, 2000);
    wide.model.setZoom(0.5f); // 9331 wide
    wide.model.scrollValueChanged(Bar::Horizontal, 500);
    wide.model.endDrag();
    EXPECT_EQ(wide.prompts.reportLines(), QList<int>{104});
    EXPECT_TRUE(wide.prompts.reports().value(0).contains(QStringLiteral("Form2.Picture1_MouseUp")));
}
