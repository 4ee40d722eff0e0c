#include <gtest/gtest.h>

#include "app/window/FullScreenStyle.h"
#include "app/window/WindowLayoutMath.h"
#include "common/WindowRects.h"

namespace {

struct ReservedCase {
    bool barVisible;
    bool fullScreen;
    int barHeight;
    int expected;
};

class ReservedBarHeight : public ::testing::TestWithParam<ReservedCase> {};

TEST_P(ReservedBarHeight, CountsTheBarUnlessHiddenInFullScreen) {
    const ReservedCase& c = GetParam();
    EXPECT_EQ(layoutmath::reservedBarHeight(c.barVisible, c.fullScreen, c.barHeight), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReservedBarHeight,
                         ::testing::Values(ReservedCase{true, false, 36, 36},
                                           // Windowed, the bar is counted even while hidden for the layout.
                                           ReservedCase{false, false, 36, 36},
                                           ReservedCase{true, true, 36, 36},
                                           // Full screen with the bar hidden: the video fills the screen.
                                           ReservedCase{false, true, 36, 0},
                                           // No bar window: height 0 in every mode.
                                           ReservedCase{false, false, 0, 0},
                                           ReservedCase{true, true, 27, 27}));

struct GrowthCase {
    LONG width, height;
    int reserved;
    LONG growX, growY;
    UINT dpi = 96;  // the minimum of 480 x 300 of video is in pixels of 96 DPI
};

class GrowthToMinimum : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(GrowthToMinimum, GrowsOnlyWhatIsMissing) {
    const GrowthCase& c = GetParam();
    EXPECT_EQ(layoutmath::growthToMinimum(SIZE{c.width, c.height}, c.reserved, c.dpi),
              (SIZE{c.growX, c.growY}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, GrowthToMinimum,
                         ::testing::Values(GrowthCase{672, 456, 36, 0, 0},  // the first size is large enough
                                           GrowthCase{480, 336, 36, 0, 0},  // exactly the minimum
                                           GrowthCase{479, 336, 36, 1, 0},  // one pixel too narrow
                                           GrowthCase{480, 335, 36, 0, 1},  // one pixel too low
                                           GrowthCase{100, 50, 36, 380, 286},
                                           GrowthCase{200, 250, 0, 280, 50},  // full screen, bar hidden
                                           GrowthCase{1920, 1080, 36, 0, 0}, GrowthCase{0, 0, 27, 480, 327},
                                           GrowthCase{1008, 684, 54, 0, 0, 144},  // the first size at 150 %
                                           GrowthCase{700, 500, 54, 20, 4, 144},  // 720 x (54 + 450)
                                           GrowthCase{600, 400, 45, 0, 20, 120},  // 600 x (45 + 375)
                                           GrowthCase{900, 600, 72, 60, 72, 192}));

TEST(FirstClientSize, IsTheStandardSizeAtTheWindowsScale) {
    const struct {
        UINT dpi;
        int bar;
        LONG width, height;
    } cases[] = {{96, 36, 672, 456}, {120, 45, 840, 570}, {144, 54, 1008, 684}, {192, 72, 1344, 912}};
    for (const auto& c : cases) {
        EXPECT_EQ(layoutmath::firstClientSize(c.bar, c.dpi), (SIZE{c.width, c.height})) << c.dpi;
    }
}

TEST(ChildAreas, HiddenBarInFullScreenKeepsItsPlaceAtTheBottom) {
    SIZE screen{1280, 1024};
    EXPECT_EQ(layoutmath::videoArea(screen, 0), (RECT{0, 0, 1280, 1024}));
    EXPECT_EQ(layoutmath::barArea(screen, 36), (RECT{0, 988, 1280, 1024}));
}

TEST(FullScreenStyle, DropsAndRestoresCaptionAndSizingFrame) {
    const LONG_PTR windowed = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
    const LONG_PTR full = fullScreenStyle(windowed);
    EXPECT_EQ(full & (WS_CAPTION | WS_THICKFRAME), 0);
    // Everything else stays: the system menu and the min/max boxes come back with the caption.
    EXPECT_EQ(full, windowed & static_cast<LONG_PTR>(static_cast<LONG>(0xFF3BFFFF)));
    EXPECT_NE(full & WS_VISIBLE, 0);
    EXPECT_EQ(windowedStyle(full), windowed);
    EXPECT_EQ(windowedStyle(0), static_cast<LONG_PTR>(0x00C40000));
}

}  // namespace
