// What only real decoding shows: the player against Debian's libvlc through the bridge. The suites of
// the main window and the video window run in this program too, with the same expectations. The clips
// of every common container come from scripts/make-clips.sh (formats/).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/TestClips.h"
#include "e2e/LibraryLog.h"
#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

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

// Right seeks 5 s: twice, and the 12-second clip, alone in its folder, ends well before its time. Each
// seek has landed once the time slider's knob is 4.5 s of the clip further on, which playing takes longer
// to reach than the wait allows.
TEST_F(PlayerTest, SeekingForwardBringsTheEndSooner) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    Picture first;
    ASSERT_TRUE(waitForLitPicture(surface, first));
    // A seek before the clip's time has moved is ignored: the knob leaves the start first.
    double before = 0;
    ASSERT_TRUE(waitUntil([&] { return (before = timeKnobShare()) > 0; }, 5000))
        << "the knob stays at " << before;
    const double step = 4.5 / 12;
    const DWORD start = GetTickCount();
    player_.sendKey(VK_RIGHT);
    double now = before;
    ASSERT_TRUE(waitUntil([&] { return (now = timeKnobShare()) >= before + step; }, 4000))
        << "the first seek did not land: the knob went from " << before << " to " << now;
    player_.sendKey(VK_RIGHT);
    EXPECT_TRUE(
        waitUntil([&] { return timeKnobShare() >= now + step || player_.title() == kProductTitle; }, 4000))
        << "the second seek did not land";
    EXPECT_TRUE(waitForTitle(kProductTitle, 9000)) << "the clip did not end early";
    EXPECT_LT(GetTickCount() - start, 9000u);
}

// Two presses of Right before the library reports where the first one went both count: the second seek
// starts from the first one's target. (The film is 20 s long: the second target is short of its end.)
TEST_F(PlayerTest, TwoQuickPressesOfRightBothCount) {
    LibraryLog library(newFolder(L"Library Logs") + L"\\quick presses.log");
    extraEnvironment_.push_back({L"VELMORA_BRIDGE_LOG", library.path()});
    ASSERT_TRUE(startPlayer(testclips::path("tracks/film.mkv")));
    ASSERT_TRUE(waitForTitle(titleFor(L"film.mkv")));
    ASSERT_TRUE(waitUntil([&] { return library.values("time").size() >= 2; }, 10000));
    player_.sendKey(VK_RIGHT);
    player_.sendKey(VK_RIGHT);
    std::vector<long long> seeks;
    ASSERT_TRUE(waitUntil([&] { return (seeks = library.values("set_time")).size() >= 2; }, 5000));
    // 5 s apart; within the second that the first seek's arrival may move it, had the library already
    // reported it. Had the second press started from the time before the first seek, it would aim where
    // the first one did.
    EXPECT_NEAR(static_cast<double>(seeks[1] - seeks[0]), 5000.0, 1000.0) << seeks[0] << " then " << seeks[1];
}

// The colour of every video clip of formats/.
constexpr std::uint32_t kClipColour = 0x3070D0;

std::wstring wide(const char* text) {
    return std::wstring(text, text + strlen(text));
}

struct FormatCase {
    const char* file;  // in formats/
    bool video;
    const wchar_t* screenshot = nullptr;  // the picture's name, for the README
};

class FormatClips : public PlayerTest {
protected:
    // The clip of formats/ alone in a folder of its own, so that nothing follows it.
    static std::wstring aloneInAFolder(const char* file) {
        const std::wstring path = newFolder(L"Format " + wide(file)) + L"\\" + wide(file);
        CopyFileW(testclips::path(std::string("formats/") + file).c_str(), path.c_str(), FALSE);
        return path;
    }
};

class Formats : public FormatClips, public ::testing::WithParamInterface<FormatCase> {};

// Chosen in the open dialog: the title names it, the time text and the time slider run, and a video's
// picture is on the surface in its colour, while a sound file leaves the logo as it was and mutes on M.
TEST_P(Formats, PlaysWithItsTimeRunningAndItsPictureOrTheLogo) {
    const FormatCase& c = GetParam();
    ASSERT_TRUE(startIdle());
    const HWND frame = videoFrame();
    Picture logo;
    ASSERT_TRUE(waitForLitPicture(frame, logo, 5000, 0));
    ASSERT_TRUE(openThroughDialog(aloneInAFolder(c.file)));
    ASSERT_TRUE(waitForTitle(titleFor(wide(c.file).c_str())));
    const Picture slider = captureScreen(barControlOnScreen(IDC_TIME_SLIDER));
    EXPECT_TRUE(waitForTimeTextChanges(2));
    EXPECT_GT(captureScreen(barControlOnScreen(IDC_TIME_SLIDER)).differingPixels(slider), 0u)
        << "the time slider's knob stands still";
    if (c.video) {
        HWND surface = nullptr;
        ASSERT_TRUE(waitForShownSurface(surface));
        std::uint32_t centre = 0;
        EXPECT_TRUE(waitUntil(
            [&] {
                const Picture picture = captureClient(surface);
                centre = picture.empty() ? 0 : at(picture, picture.width / 2, picture.height / 2);
                return looksLike(centre, kClipColour);
            },
            4000))
            << "centre " << std::hex << centre;
        return;
    }
    if (c.screenshot != nullptr) {
        saveScreenshot(c.screenshot);
    }
    EXPECT_FALSE(IsWindowVisible(videoSurface()));
    EXPECT_EQ(captureClient(frame).differingPixels(logo), 0u) << "the logo did not stay";
    const Picture volume = captureScreen(barControlOnScreen(IDC_VOLUME_SLIDER));
    player_.sendKey('M');
    EXPECT_TRUE(waitUntil(
        [&] { return captureScreen(barControlOnScreen(IDC_VOLUME_SLIDER)).differingPixels(volume) > 0; },
        3000))
        << "M did not show the volume at 0";
    EXPECT_EQ(player_.title(), titleFor(wide(c.file).c_str()));
}

INSTANTIATE_TEST_SUITE_P(Containers, Formats,
                         ::testing::Values(FormatCase{"clip.mp4", true}, FormatCase{"clip.mkv", true},
                                           FormatCase{"clip.webm", true}, FormatCase{"clip.avi", true},
                                           FormatCase{"clip.mov", true}, FormatCase{"clip.ogv", true},
                                           FormatCase{"clip.wmv", true}, FormatCase{"clip.ts", true},
                                           FormatCase{"clip.mp3", false, L"audio-playing"},
                                           FormatCase{"clip.flac", false}, FormatCase{"clip.wav", false}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(name.find('.') + 1);
                         });

// A sound file has no picture to write on: its changes are told in the bar's time line for a while, then
// the time shows again; in full screen the bar, hidden at rest, comes back for them.
TEST_F(FormatClips, ASoundFileTellsChangesInTheTimeLine) {
    ASSERT_TRUE(startPlayer(aloneInAFolder("clip.mp3")));
    ASSERT_TRUE(waitForTitle(titleFor(L"clip.mp3")));
    ASSERT_TRUE(waitForTimeTextChanges(2));
    player_.sendKey(VK_SPACE);
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PLAY));
    // Paused, the time line stands still once the last time report is drawn.
    Picture paused = captureScreen(timeTextOnScreen());
    ASSERT_TRUE(waitUntil(
        [&] {
            Picture now = captureScreen(timeTextOnScreen());
            const bool still = now.differingPixels(paused) == 0;
            paused = std::move(now);
            return still;
        },
        5000, 300));
    player_.sendKey(VK_DOWN);
    EXPECT_TRUE(
        waitUntil([&] { return captureScreen(timeTextOnScreen()).differingPixels(paused) > 0; }, 3000))
        << "nothing told";
    saveScreenshot(L"audio-told-volume");
    EXPECT_TRUE(
        waitUntil([&] { return captureScreen(timeTextOnScreen()).differingPixels(paused) == 0; }, 6000))
        << "the time does not come back";

    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);  // over the video
    player_.sendKey('F');
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(controlBar()); }, 10000)) << "the bar never hid";
    player_.sendKey('M');
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(controlBar()) != FALSE; }, 3000));
}

// Next steps through the folder of every format in the order of their names, whatever they are, and
// from the last back to the first.
TEST_F(FormatClips, NextStepsThroughAFolderOfMixedFormatsInOrder) {
    const char* const order[] = {"clip.avi", "clip.flac", "clip.mkv", "clip.mov",  "clip.mp3", "clip.mp4",
                                 "clip.ogv", "clip.ts",   "clip.wav", "clip.webm", "clip.wmv", "clip.avi"};
    ASSERT_TRUE(startPlayer(testclips::path(std::string("formats/") + order[0])));
    for (const char* file : order) {
        ASSERT_TRUE(waitForTitle(titleFor(wide(file).c_str())));
        // A Next before the file's time has moved is ignored: wait for its first second first.
        ASSERT_TRUE(waitForTimeTextChanges(2)) << file;
        player_.postCommand(ID_NEXT);
    }
}

// The subtitles beside a clip, under its name, are shown on its picture: a white line on a dark clip,
// low in the picture, and none on the same clip without them.
TEST_F(FormatClips, SubtitlesBesideTheClipAreShownOnThePicture) {
    const auto brightLowAndHigh = [&](size_t& low, size_t& high) {
        HWND surface = nullptr;
        if (!waitForShownSurface(surface)) {
            return;
        }
        waitUntil(
            [&] {
                const Picture picture = captureClient(surface);
                low = picture.brightPixels(picture.height * 2 / 3, picture.height);
                high = picture.brightPixels(0, picture.height / 2);
                return low > 200;
            },
            5000);
    };
    size_t low = 0, high = 0;
    ASSERT_TRUE(startPlayer(testclips::path("formats/subtitles/dark.mp4")));
    ASSERT_TRUE(waitForTitle(titleFor(L"dark.mp4")));
    brightLowAndHigh(low, high);
    EXPECT_GT(low, 200u) << "no white line low in the picture";
    EXPECT_EQ(high, 0u);

    const std::wstring bare = newFolder(L"Without Subtitles") + L"\\plain.mp4";
    CopyFileW(testclips::path("formats/subtitles/dark.mp4").c_str(), bare.c_str(), FALSE);
    ASSERT_TRUE(openThroughDialog(bare));
    ASSERT_TRUE(waitForTitle(titleFor(L"plain.mp4")));
    // Until its first picture comes, the surface may still show the last one of the clip before.
    ASSERT_TRUE(waitForTimeTextChanges(2));
    low = high = 0;
    brightLowAndHigh(low, high);
    EXPECT_EQ(low, 0u) << "white without subtitles";
}

}  // namespace
}  // namespace e2e
