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
    // Fits across: no horizontal scrolling. 493 twips higher than the viewport's inside:
    // steps of 10, and 50 of them reach the bottom.
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).step, 0);
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).step, 10);
    EXPECT_TRUE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 50);
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

TEST(ZoomModel, ScrollStepsFollowHowFarThePictureExceedsTheViewportsInside) {
    // The inside is 9270 x 7365; pages are drawn 62 twips smaller than loaded.
    const struct {
        int width, height;
        Bar bar;
        ZoomModel::ScrollBar expected; // value, maximum, enabled, step, page step
    } cases[] = {
        {7000, 7365 + 100 + 62, Bar::Vertical, {0, 100, true, 1, 7365}}, // fine steps up to 100
        // Coarse steps beyond, as many as reach the far edge (14.5 -> 15).
        {7000, 7365 + 145 + 62, Bar::Vertical, {0, 15, true, 10, 736}},
        {7000, 7365 + 150 + 62, Bar::Vertical, {0, 15, true, 10, 736}},
        // As wide as the inside fits: the bar is off.
        {9270 + 62, 2000, Bar::Horizontal, {0, 0, false, 0, 1}},
        {9271 + 62, 2000, Bar::Horizontal, {0, 1, true, 1, 9270}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Preview(c.width, c.height).model.scrollBar(c.bar) == c.expected) << c.height;
}

TEST(ZoomModel, AtEveryZoomTheBarsReachThePagesFarEdges) {
    Preview p(kPageWidth, kPageHeight);
    for (float zoom : {0.75f, 1.0f, 1.25f, 1.5f}) {
        p.model.setZoom(zoom);
        for (Bar which : {Bar::Horizontal, Bar::Vertical}) {
            const bool across = which == Bar::Horizontal;
            const int inside = across ? 9270 : 7365;
            const int size = across ? p.model.page().width : p.model.page().height;
            const auto offset = [&] { return across ? p.model.page().left : p.model.page().top; };
            const ZoomModel::ScrollBar& bar = p.model.scrollBar(which);
            EXPECT_EQ(bar.enabled, size > inside) << zoom;
            if (!bar.enabled)
                continue;
            // The thumb spans the view: a page step is the inside.
            EXPECT_NEAR(bar.pageStep * bar.step, inside, bar.step) << zoom;
            p.model.scrollValueChanged(which, bar.maximum);
            EXPECT_EQ(offset(), inside - size) << zoom << ": the far edge shows";
            p.model.scrollValueChanged(which, bar.maximum - 1);
            EXPECT_EQ(offset(), -bar.step * (bar.maximum - 1)) << zoom;
            p.model.scrollValueChanged(which, 0);
            EXPECT_EQ(offset(), 0) << zoom;
        }
    }
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

TEST(ZoomModel, ZoomingKeepsThePointAtTheViewsCentreAndTheBarsShowWhere) {
    Preview p(10000, 12000); // 9938 x 11938
    p.model.scrollValueChanged(Bar::Vertical, 200);
    ASSERT_EQ(p.model.page().top, -2000);
    p.model.zoomOut(); // 0.75: 7453 x 8953; the centre, 5682.5 down, comes to 4261.6
    EXPECT_EQ(p.model.page().left, 0);
    EXPECT_EQ(p.model.page().top, -579);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 58);
    EXPECT_FALSE(p.model.scrollBar(Bar::Horizontal).enabled);
    p.model.zoomOut(); // 0.5: 4969 x 5969 fits inside
    EXPECT_FALSE(p.model.scrollBar(Bar::Vertical).enabled);
    EXPECT_EQ(p.model.page().top, 0);
    p.model.zoomIn();
    p.model.zoomIn(); // back at 100 %, from the middle of the page at 50 %
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).maximum, 458);
    EXPECT_NEAR(p.model.scrollBar(Bar::Vertical).value * 10, -p.model.page().top, 5);

    // Across too: a small page is wider than the view's inside (9270) at 375 and at 400 %.
    Preview small(2562, 2062);  // 2500 x 2000
    small.model.setZoom(3.75f); // 9375 wide
    small.model.scrollValueChanged(Bar::Horizontal, 5);
    ASSERT_EQ(small.model.page().left, -50);
    small.model.zoomIn(); // 10000 wide: the centre, 4685 across, comes to 4997.3
    EXPECT_EQ(small.model.page().left, -362);
    EXPECT_NEAR(small.model.scrollBar(Bar::Horizontal).value * 10, 362, 5);
}

TEST(ZoomModel, OffsetsBeyond16BitsDoNotOverflow) {
    // 40000 twips too high: the maximum is 4000 and the last position 40000 twips up.
    Preview p(7000, 7365 + 40000); // too large to draw: it stays as loaded
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

TEST(ZoomModel, ReleaseLeavesThePageWhereItWasLetGoAndTheBarsFollow) {
    Preview p(10000, 12000); // 668 twips wider than the inside: maximum 67
    ASSERT_EQ(p.model.scrollBar(Bar::Horizontal).maximum, 67);
    p.press(1000, 1000);
    p.move(696, 1000); // left -304: the bar's value 30.4 -> 30
    p.model.endDrag();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 30);
    EXPECT_EQ(p.model.page().left, -304);
    p.press(1000, 1000);
    p.move(-5000, 5000); // to the right edge; down is clamped at the top
    p.model.endDrag();
    EXPECT_EQ(p.model.scrollBar(Bar::Horizontal).value, 67);
    EXPECT_EQ(p.model.page().left, 9270 - 9938);
    EXPECT_EQ(p.model.scrollBar(Bar::Vertical).value, 0);
    EXPECT_TRUE(p.prompts.shown.isEmpty());
}

// The failures that can happen, reported with the numbers support knows.
TEST(ZoomModel, FailuresAreReportedAtTheirSteps) {
    // A page smaller than the unscaled page's border: the page refuses the negative sizes.
    Preview tiny(40, 40);
    EXPECT_EQ(tiny.prompts.reportLines(), (QList<int>{108, 110}));
    EXPECT_TRUE(tiny.prompts.reports().value(0).contains(QStringLiteral("Form2.RedrawImage")));
}
