// The player among the other programs of the desktop, as a user meets it: the keyboard's media keys, the
// wheel as a volume knob, the recent documents and the screen kept awake while a clip plays. (Always on Top
// has no test here: under Wine 8 a window that owns a pop-up, as the player's owns the bar's tooltip, never
// becomes topmost.)
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/StandinCalls.h"
#include "common/TestClips.h"
#include "common/Utf8.h"
#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

// The mouse wheel turned by delta (120 a notch; negative: towards the user).
UINT turnWheel(int delta) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    return SendInput(1, &input, sizeof(INPUT));
}

std::wstring recentFolder() {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An app command posted to the control bar (it reaches the main window through the bar's default
// procedure) and a media key pressed each toggle once: the key's WM_KEYDOWN and its app command are one
// press.
TEST_F(PlayerTest, MediaKeysPauseAndPlayOncePerPress) {
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    PostMessageW(controlBar(), WM_APPCOMMAND, reinterpret_cast<WPARAM>(controlBar()),
                 MAKELPARAM(0, APPCOMMAND_MEDIA_PLAY_PAUSE));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PLAY));
    ASSERT_TRUE(waitForQueue());
    EXPECT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PLAY, 0)) << "the app command toggled twice";

    for (const int slot : {IDC_BTN_PAUSE, IDC_BTN_PLAY}) {
        ASSERT_EQ(typeKey(VK_MEDIA_PLAY_PAUSE), 2u);
        ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, slot)) << slot;
        ASSERT_TRUE(waitForQueue());
        EXPECT_TRUE(waitForSlots(IDC_BTN_STOP, slot, 0)) << "the key toggled twice";
    }
}

// Two notches down over the video move the volume slider's knob; two up bring back the picture it had.
// Each is told over the picture in a text the library takes as it is ('%' doubled in its time format).
TEST_F(PlayerTest, WheelOverTheVideoSetsTheVolumeOnTheBar) {
    const std::wstring calls = newFolder(L"Wheel") + L"\\calls.log";
    extraEnvironment_.push_back({L"VELMORA_LIBVLC_STANDIN_LOG", calls});
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    const RECT slider = barControlOnScreen(IDC_VOLUME_SLIDER);
    ASSERT_TRUE(waitForQueue());
    const Picture full = captureScreen(slider);
    mouseAt(centreOf(windowRect(videoFrame())), {});
    for (int notch = 0; notch < 2; ++notch) {
        ASSERT_EQ(turnWheel(-WHEEL_DELTA), 1u);
    }
    EXPECT_TRUE(waitUntil([&] { return captureScreen(slider).differingPixels(full) > 0; }, 5000))
        << "the volume slider stood still";
    ASSERT_EQ(turnWheel(2 * WHEEL_DELTA), 1u);
    EXPECT_TRUE(waitUntil([&] { return captureScreen(slider).differingPixels(full) == 0; }, 5000))
        << "two notches up did not bring the volume back to 100";
    const std::string library = standincalls::read(calls);
    EXPECT_NE(library.find("set_marquee_string Text Volume 80 %%\n"), std::string::npos) << library;
    EXPECT_EQ(library.find("hazard"), std::string::npos) << library;
}

// A file that opens goes into the recent documents under its own name, blanks and accented letters
// included; a file that fails to load adds nothing. The shortcuts are made in the order the files were
// opened, so once the good file's is there, the other's would be too. (Wine 8 makes no shortcut for a name
// outside the ANSI code page, Greek, Cyrillic or Chinese, whoever asks: measured.)
TEST_F(PlayerTest, OpenedFileGoesIntoTheRecentDocumentsAndAFailedOneDoesNot) {
    const std::wstring recent = recentFolder();
    ASSERT_FALSE(recent.empty());
    const std::wstring name = L"Fête à Zürich.mpg";
    const std::wstring clip = newFolder(L"Recent Files") + L"\\" + name;
    ASSERT_TRUE(CopyFileW(testclips::path("folder/a.mpg").c_str(), clip.c_str(), FALSE));
    const std::wstring goodLink = recent + L"\\" + name + L".lnk";
    const std::wstring failedLink = recent + L"\\notes.txt.lnk";
    DeleteFileW(goodLink.c_str());
    DeleteFileW(failedLink.c_str());

    ASSERT_TRUE(startPlayer(textFilePath()));
    const HWND failure = player_.waitForMessageBox(kLoadFailure, 5000);
    ASSERT_NE(failure, nullptr);
    ASSERT_TRUE(PlayerProcess::pressDialogButton(failure, IDOK));
    ASSERT_TRUE(openThroughDialog(clip));
    EXPECT_TRUE(waitUntil([&] { return exists(goodLink); }, 10000))
        << "no shortcut in " << testtext::toUtf8(recent);
    EXPECT_FALSE(exists(failedLink));
}

// The player's requests as Wine's power management records them: the display and the system kept on
// (0x80000003) while the clip plays, nothing held (0x80000000) once paused or closed.
TEST_F(PlayerTest, ScreenIsKeptAwakeWhilePlayingAndLetGoWhenPausedOrClosed) {
    ASSERT_TRUE(captureWineMessages(L"warn+ntdll"))
        << "VELMORA_WINE_STDERR names no file for Wine's messages";
    ASSERT_TRUE(startPlayer(longClipPath()));
    ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, IDC_BTN_PAUSE));
    const auto requests = [&] {
        std::vector<std::string> flags;
        for (const std::string& line : wineMessages("NtSetThreadExecutionState (")) {
            const size_t open = line.find('(');
            flags.push_back(line.substr(open + 1, 10));
        }
        return flags;
    };
    const auto lastRequest = [&] {
        const std::vector<std::string> made = requests();
        return made.empty() ? std::string() : made.back();
    };
    EXPECT_TRUE(waitUntil([&] { return lastRequest() == "0x80000003"; }, 5000)) << lastRequest();
    for (const auto& step : {std::pair{IDC_BTN_PLAY, "0x80000000"}, {IDC_BTN_PAUSE, "0x80000003"}}) {
        player_.sendKey(VK_SPACE);
        ASSERT_TRUE(waitForSlots(IDC_BTN_STOP, step.first));
        EXPECT_TRUE(waitUntil([&] { return lastRequest() == step.second; }, 5000)) << lastRequest();
    }
    ASSERT_TRUE(player_.requestClose());
    ASSERT_TRUE(player_.waitForExit(10000));
    EXPECT_EQ(lastRequest(), "0x80000000");
    // One request per change of need, never one per time report.
    const std::vector<std::string> made = requests();
    for (size_t i = 1; i < made.size(); ++i) {
        EXPECT_NE(made[i], made[i - 1]) << "the same request twice in a row";
    }
}

}  // namespace
}  // namespace e2e
