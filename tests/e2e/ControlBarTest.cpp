// The control bar as a user meets it: the buttons follow playing, paused and stopped; the time text moves
// and can be read; a press on the time slider seeks; in full screen the bar hides after a rest and comes
// back on a move or a stop, and the video area follows it.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/BarButtons.h"
#include "common/ScreenReader.h"
#include "common/Utf8.h"
#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

TEST_F(PlayerTest, BarButtonsFollowPlayingPausedAndStoppedAtBothWidths) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    const HWND main = player_.window();
    EXPECT_TRUE(waitUntil([&] { return barHeight() == 36; }, 5000)) << "bar " << barHeight() << " px high";
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    player_.sendKey(VK_RIGHT);  // five seconds on, so that the pictures show a played part
    EXPECT_TRUE(barControlShown(IDC_BTN_FULLSCREEN));
    EXPECT_FALSE(barControlShown(IDC_BTN_LEAVE_FULLSCREEN));
    saveScreenshot(L"bar-playing-672");

    player_.sendKey(VK_SPACE);
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PLAY));
    saveScreenshot(L"bar-paused-672");

    setClientSize(480, 420 + 36);
    EXPECT_TRUE(waitUntil([&] { return clientSize(main).cx == 480; }, 5000));
    saveScreenshot(L"bar-paused-480");
    player_.sendKey(VK_SPACE);
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    saveScreenshot(L"bar-playing-480");

    // The bar's own Stop button: its click becomes the main window's Stop.
    PostMessageW(controlBar(), WM_COMMAND, MAKEWPARAM(IDC_BTN_STOP, BN_CLICKED), 0);
    ASSERT_TRUE(waitForSlots(IDC_BTN_OPEN, IDC_BTN_PLAY));
    saveScreenshot(L"bar-idle-480");
    setClientSize(672, 420 + 36);
    EXPECT_TRUE(waitUntil([&] { return clientSize(main).cx == 672; }, 5000));
    saveScreenshot(L"bar-idle-672");
}

// At 150 % the bar is 54 pixels high with the pictures drawn for that scale, and the video takes the
// client's real pixels: the surface spans the whole 1008-pixel width above the bar.
TEST_F(PlayerTest, AtOneAndAHalfTheScaleTheBarAndTheVideoUseRealPixels) {
    ASSERT_TRUE(startPlayerAtDpi(144, longClipPath()));
    const HWND main = player_.window();
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    EXPECT_EQ(barHeight(), 54);
    EXPECT_EQ(rectInParent(barControl(IDC_BTN_PAUSE)), xywh(58, 3, 54, 48));
    HWND surface = nullptr;
    ASSERT_TRUE(waitForShownSurface(surface));
    const SIZE client = clientSize(main);
    EXPECT_EQ(client.cx, 1008);
    const RECT video = rectInParent(surface);
    EXPECT_EQ(video.right - video.left, client.cx);
    EXPECT_EQ(rectInParent(videoFrame()).bottom, client.cy - 54);
    player_.sendKey(VK_RIGHT);
    saveScreenshot(L"bar-playing-150pct");
    PostMessageW(controlBar(), WM_COMMAND, MAKEWPARAM(IDC_BTN_STOP, BN_CLICKED), 0);
    ASSERT_TRUE(waitForSlots(IDC_BTN_OPEN, IDC_BTN_PLAY));
    saveScreenshot(L"bar-idle-150pct");
}

// What a screen reader asks of each picture button, through the accessibility interfaces from another
// program: its name, which is its tooltip's text.
TEST_F(PlayerTest, ScreenReadersNameEveryButtonByItsTooltipText) {
    ASSERT_TRUE(startIdle());
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (const auto& [id, expected] : kBarButtonNames) {
        EXPECT_EQ(readAsScreenReader(barControl(id)).name, expected) << id;
    }
    CoUninitialize();
}

// What a screen reader in another program reads of the two sliders in each state: sliders named
// "Position" and "Volume", the bar's time text and the volume as their values, unavailable with nothing
// loaded, each where the bar draws it on the screen (at 100 % and at 150 %); Mute's name tells a mute.
TEST_F(PlayerTest, ScreenReadersReadBothSlidersInEveryState) {
    struct Row {
        const char* state;
        UINT dpi;
        bool clip;                // the twelve-second clip, playing
        UINT key;                 // pressed once it plays (0: none)
        int playOrPause;          // the button then shown
        const wchar_t* volume;    // the volume's value then
        const wchar_t* position;  // the position's value, when fixed (else a time of the clip)
        const wchar_t* muteName;
    };
    const Row rows[] = {
        {"idle", 96, false, 0, IDC_BTN_PLAY, L"100 %", L"00:00:00 / 00:00:00", L"Mute On/Off"},
        {"playing", 96, true, VK_DOWN, IDC_BTN_PAUSE, L"90 %", nullptr, L"Mute On/Off"},
        {"paused", 96, true, VK_SPACE, IDC_BTN_PLAY, L"100 %", nullptr, L"Mute On/Off"},
        {"muted", 96, true, 'M', IDC_BTN_PAUSE, L"Muted", nullptr, L"Mute On/Off (Muted)"},
        {"at 150 %", 144, true, 0, IDC_BTN_PAUSE, L"100 %", nullptr, L"Mute On/Off"},
    };
    // "00:00:04 / 00:00:11": a time, then the clip's length (known once the player reported it).
    const auto isTimeOfTheClip = [](const std::wstring& value) {
        return value.size() == 19 && value[2] == L':' && value.compare(8, 3, L" / ") == 0 &&
               value.compare(11, 8, L"00:00:00") != 0;
    };
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        ASSERT_TRUE(row.dpi != 96 ? startPlayerAtDpi(row.dpi, longClipPath())
                    : row.clip    ? startPlayer(longClipPath())
                                  : startIdle());
        ASSERT_TRUE(
            waitForSlots(row.clip ? IDC_BTN_STOP : IDC_BTN_OPEN, row.clip ? IDC_BTN_PAUSE : IDC_BTN_PLAY));
        const HWND position = barControl(IDC_TIME_SLIDER);
        const HWND volume = barControl(IDC_VOLUME_SLIDER);
        if (row.clip) {
            ASSERT_TRUE(waitUntil([&] { return isTimeOfTheClip(readAsScreenReader(position).value); }, 5000))
                << testtext::toUtf8(readAsScreenReader(position).value);
            EXPECT_EQ(readAsScreenReader(volume).value, L"100 %");
        }
        if (row.key != 0) {
            player_.sendKey(row.key);
        }
        ASSERT_TRUE(waitForSlots(row.clip ? IDC_BTN_STOP : IDC_BTN_OPEN, row.playOrPause));
        EXPECT_TRUE(waitUntil([&] { return readAsScreenReader(volume).value == row.volume; }, 5000))
            << "volume read " << testtext::toUtf8(readAsScreenReader(volume).value);
        for (const auto& [window, name] : {std::pair{position, L"Position"}, std::pair{volume, L"Volume"}}) {
            const ReaderView seen = readAsScreenReader(window);
            EXPECT_EQ(seen.role, ROLE_SYSTEM_SLIDER) << testtext::toUtf8(name);
            EXPECT_EQ(seen.name, name);
            EXPECT_EQ((seen.state & STATE_SYSTEM_UNAVAILABLE) != 0, !row.clip) << testtext::toUtf8(name);
            EXPECT_EQ(seen.location, barControlOnScreen(GetDlgCtrlID(window))) << testtext::toUtf8(name);
        }
        const std::wstring time = readAsScreenReader(position).value;
        if (row.position != nullptr) {
            EXPECT_EQ(time, row.position);
        } else {
            EXPECT_TRUE(isTimeOfTheClip(time)) << testtext::toUtf8(time);
        }
        if (row.playOrPause == IDC_BTN_PAUSE) {
            EXPECT_TRUE(waitUntil([&] { return readAsScreenReader(position).value != time; }, 4000))
                << "the position stands still while the clip plays";
        }
        EXPECT_EQ(readAsScreenReader(barControl(IDC_BTN_MUTE)).name, row.muteName);
    }
    // The last row ran at 150 %: the bar is 54 pixels high there (where the sliders lie: the row).
    EXPECT_EQ(windowRect(controlBar()).bottom - windowRect(controlBar()).top, 54);
    CoUninitialize();
}

TEST_F(PlayerTest, TimeTextMovesWhilePlayingAndReadsDarkOnTheBar) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    const HWND area = barControl(IDC_TIME_SLIDER);
    ASSERT_NE(area, nullptr);
    const RECT strip = timeTextOnScreen();
    // The text shows once the bar has painted after start-up; it is dark on the light bar picture.
    Picture first;
    EXPECT_TRUE(waitUntil(
        [&] {
            first = captureScreen(strip);
            return first.darkPixels(96) > 20;
        },
        3000))
        << "no dark text above the time slider";
    EXPECT_TRUE(waitUntil([&] { return captureScreen(strip).differingPixels(first) > 0; }, 4000))
        << "the time text stands still while the clip plays";
}

TEST_F(PlayerTest, PressNearTheEndOfTheTimeSliderSeeksThere) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    ASSERT_TRUE(waitForTitle(titleFor(L"long.mpg")));
    const RECT slider = barControlOnScreen(IDC_TIME_SLIDER);
    // A real click: the pointer over the slider's right end, the button pressed and released. The bar
    // learns the clip's length from the player's time reports, so a click before the first one seeks to
    // 0: the click is repeated for a while.
    const auto clickNearTheEnd = [&] {
        mouseAt({slider.right - 3, centreOf(slider).y}, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        return player_.title() == kProductTitle ||
               waitUntil([&] { return player_.title() == kProductTitle; }, 800);
    };
    // Twelve seconds of clip would take far longer: the seek leaves well under one, then the clip ends
    // and, being the only file of its folder, stops.
    EXPECT_TRUE(waitUntil(clickNearTheEnd, 5000)) << "the clip did not end soon after the click";
    EXPECT_TRUE(waitForSlots(IDC_BTN_OPEN, IDC_BTN_PLAY));
}

// Two quick clicks are two commands: the second arrives as a double click.
TEST_F(PlayerTest, TwoQuickClicksOnNextStepTwoFiles) {
#ifdef VELMORA_E2E_REAL_DECODING
    // Real decoding reaches the playing state at 0 s before the second click is handled, and the
    // controller ignores a skip then on purpose.
    GTEST_SKIP() << "the second skip meets a file that is playing at 0 s";
#endif
    // Clips of twelve seconds, so that no file ends by itself meanwhile.
    const std::wstring folder = newFolder(L"My Videos (long)");
    for (const wchar_t* name : {L"\\1.mpg", L"\\2.mpg", L"\\3.mpg"}) {
        ASSERT_TRUE(CopyFileW(longClipPath().c_str(), (folder + name).c_str(), FALSE)) << GetLastError();
    }
    ASSERT_TRUE(startPlayer(folder + L"\\1.mpg"));
    ASSERT_TRUE(waitForTitle(titleFor(L"1.mpg")));
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(barControl(IDC_BTN_NEXT)) != FALSE; }, 5000));
    // Paused: a skip before playback has left 0 s is ignored on purpose, and decoding may take a while.
    player_.sendKey(VK_SPACE);
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PLAY));
    const DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(mouseAt(centreOf(barControlOnScreen(IDC_BTN_NEXT)), {down, up, down, up}), 4u);
    EXPECT_TRUE(waitForTitle(titleFor(L"3.mpg")));
}

TEST_F(PlayerTest, FullScreenBarHidesAfterARestAndComesBackOnAMoveOrAStop) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    const POINT pointer{cx / 2, cy / 3};
    SetCursorPos(pointer.x, pointer.y);
    player_.sendKey('F');
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
    EXPECT_TRUE(waitUntil([&] { return barControlShown(IDC_BTN_LEAVE_FULLSCREEN); }, 3000));
    const auto videoHeight = [&] {
        const RECT video = rectInParent(videoFrame());
        return video.bottom - video.top;
    };
    const auto barShown = [&] { return (GetWindowLongPtrW(controlBar(), GWL_STYLE) & WS_VISIBLE) != 0; };
    const auto barHidesAfterARest = [&] {
        return waitUntil([&] { return !barShown() && videoHeight() == cy; }, 9000);
    };
    const auto barLaidOut = [&] { return barShown() && videoHeight() == cy - 36; };
    EXPECT_TRUE(barShown());

    // A stop while the bar is hidden (here from the menu; the last file of a folder ending does the same)
    // brings the bar back: it must not stay hidden with nothing left to wake it.
    ASSERT_TRUE(barHidesAfterARest()) << "the bar did not hide while playing, video " << videoHeight();
    player_.postCommand(ID_STOP);
    EXPECT_TRUE(waitForSlots(IDC_BTN_OPEN, IDC_BTN_PLAY));
    EXPECT_TRUE(waitUntil(barLaidOut, 3000)) << "the bar stayed hidden after a stop, video " << videoHeight();

    ASSERT_TRUE(barHidesAfterARest()) << "the bar did not hide while stopped, video " << videoHeight();
    // A pointer moving over the video brings the bar back: it goes back and forth 20 px every 50 ms.
    // (Under Wine a full-screen window may hold the pointer for good; a move asked for by another program
    // is then refused by the display and lives only in Wine's record of the pointer, which gives way to
    // the display's pointer 100 ms later. Moves this frequent keep that record fresh whenever the player
    // reads it.)
    int moves = 0;
    const auto moveAndSee = [&] {
        const LONG step = 20 * (1 + ++moves % 2);
        SetCursorPos(pointer.x + step, pointer.y + step);
        return barLaidOut();
    };
    EXPECT_TRUE(waitUntil(moveAndSee, 5000, 50))
        << "the bar did not come back after a move, video " << videoHeight();
    player_.sendKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !isFullScreen() && barControlShown(IDC_BTN_FULLSCREEN); }, 5000));
}

}  // namespace
}  // namespace e2e
