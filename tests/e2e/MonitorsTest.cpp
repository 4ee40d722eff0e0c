// Two monitors side by side, as scripts/two-monitor-run gives Wine (a primary of 1280 x 720 and a second
// one of 1280 x 800 to its right): full screen covers the monitor that holds the window, and leaving it,
// or starting again, brings the window back to its place on the second monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/TestRegistry.h"
#include "e2e/PlayerFixture.h"

namespace e2e {
namespace {

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

std::vector<RECT> monitors() {
    std::vector<RECT> found;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(PlayerTest, FullScreenOnTheSecondMonitorCoversItAndLeavesBackToThePlacement) {
    const std::vector<RECT> screens = monitors();
    ASSERT_EQ(screens.size(), 2u) << "this suite needs the two monitors of scripts/two-monitor-run";
    const RECT second = screens[0].left > 0 ? screens[0] : screens[1];
    ASSERT_GT(second.left, 0);

    // The placement a last run on the second monitor left.
    const auto saved = testregistry::placementOf(xywh(second.left + 120, second.top + 60, 700, 520));
    ASSERT_TRUE(testregistry::write(testregistry::kPlacementValue, REG_BINARY, &saved, sizeof(saved)));
    ASSERT_TRUE(startIdle());
    const HWND main = player_.window();
    EXPECT_TRUE(waitUntil([&] { return windowRect(main) == saved.rcNormalPosition; }, 5000))
        << "the window came up at " << testing::PrintToString(windowRect(main));

    player_.sendKey('F');
    EXPECT_TRUE(waitUntil([&] { return windowRect(main) == second; }, 5000))
        << "full screen covers " << testing::PrintToString(windowRect(main)) << ", not the second monitor "
        << testing::PrintToString(second);
    EXPECT_EQ(GetWindowLongPtrW(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

    player_.sendKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return windowRect(main) == saved.rcNormalPosition; }, 5000))
        << "left full screen at " << testing::PrintToString(windowRect(main));
}

}  // namespace
}  // namespace e2e
