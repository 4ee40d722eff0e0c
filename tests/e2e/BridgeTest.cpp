// What only real decoding shows: the player against Debian's libvlc through the bridge. The suites of
// the main window and the video window run in this program too, with the same expectations.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/TestClips.h"
#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"

namespace e2e {
namespace {

std::uint32_t at(const Picture& picture, int x, int y) {
    return picture.pixels[static_cast<size_t>(y) * picture.width + x];
}

bool looksLike(std::uint32_t colour, std::uint32_t expected) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = (colour >> shift) & 0xFF, b = (expected >> shift) & 0xFF;
        if (std::abs(a - b) > 48) {
            return false;
        }
    }
    return true;
}

// The seven bars of the upper part of the picture, left to right, at 75 % intensity.
constexpr std::uint32_t kBars[] = {0xBFBFBF, 0xBFBF00, 0x00BFBF, 0x00BF00, 0xBF00BF, 0xBF0000, 0x0000BF};

// The picture's columns on the surface: it is scaled to fit, with black bars at the sides.
bool pictureColumns(const Picture& picture, int y, int& left, int& right) {
    left = 0;
    right = picture.width - 1;
    while (left < right && at(picture, left, y) == 0) {
        ++left;
    }
    while (right > left && at(picture, right, y) == 0) {
        --right;
    }
    return right - left > picture.width / 2;
}

// The seven bars where they belong, in their colours, and the 4:3 picture at the full height of the
// surface with black at the sides; at 144 DPI too, where the surface has the client's real pixels.
class DecodedBars : public PlayerTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(DecodedBars, AreOnTheSurfaceInTheirPlaceAndColours) {
    ASSERT_TRUE(startPlayerAtDpi(GetParam(), testclips::path("bars/bars.mpg")));
    ASSERT_TRUE(waitForTitle(titleFor(L"bars.mpg")));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    std::string seen;
    const bool matched = waitUntil(
        [&] {
            const Picture picture = captureClient(surface);
            const int y = picture.height / 3;
            int left = 0, right = 0;
            if (picture.empty() || !pictureColumns(picture, y, left, right)) {
                return false;
            }
            const int width = right - left + 1;
            seen = std::to_string(width) + " of " + std::to_string(picture.width) + " x " +
                   std::to_string(picture.height) + " px:";
            bool all = std::abs(width - picture.height * 4 / 3) <= 4;
            for (int bar = 0; bar < 7; ++bar) {
                const int x = left + (2 * bar + 1) * width / 14;
                char text[16];
                snprintf(text, sizeof text, " %06X", static_cast<unsigned>(at(picture, x, y) & 0xFFFFFF));
                seen += text;
                all = all && looksLike(at(picture, x, y), kBars[bar]);
            }
            return all;
        },
        8000, 100);
    EXPECT_TRUE(matched) << "seen: " << seen;
    EXPECT_EQ(clientSize(surface).cx, clientSize(player_.window()).cx);
}

INSTANTIATE_TEST_SUITE_P(Scales, DecodedBars, ::testing::Values(96u, 144u),
                         [](const auto& info) { return std::to_string(info.param) + "dpi"; });

// Right seeks 5 s: twice, and the 12-second clip, alone in its folder, ends well before its time.
TEST_F(PlayerTest, SeekingForwardBringsTheEndSooner) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    Picture first;
    ASSERT_TRUE(waitForLitPicture(surface, first));
    const DWORD start = GetTickCount();
    player_.sendKey(VK_RIGHT);
    Sleep(300);
    player_.sendKey(VK_RIGHT);
    EXPECT_TRUE(waitForTitle(kProductTitle, 9000)) << "the clip did not end early";
    EXPECT_LT(GetTickCount() - start, 9000u);
}

}  // namespace
}  // namespace e2e
