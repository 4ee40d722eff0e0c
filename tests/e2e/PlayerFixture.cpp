#include "e2e/PlayerFixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "common/TestClips.h"
#include "common/TestRegistry.h"
#include "common/Utf8.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

namespace e2e {

namespace {

std::wstring tempFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

std::wstring workFolder() {
    return tempFolder() + L"velmora e2e";
}

}  // namespace

bool isAboutBox(HWND dialog) {
    return GetDlgItem(dialog, IDC_ABOUT_TEXT) != nullptr;
}

bool isOpenDialog(HWND dialog) {
    return windowText(dialog) == L"Select File";
}

void PlayerTest::SetUpTestSuite() {
    CreateDirectoryW(workFolder().c_str(), nullptr);
    for (const wchar_t* folder : {L"My Videos", L"Long Clip", L"Not Media"}) {
        newFolder(folder);
    }
    for (const wchar_t* name : {L"a.mpg", L"b.mpg", L"c.mpg"}) {
        CopyFileW(testclips::path("folder/" + testtext::toUtf8(name)).c_str(), videoPath(name).c_str(),
                  FALSE);
    }
    CopyFileW(testclips::path("long.mpg").c_str(), longClipPath().c_str(), FALSE);
    std::ofstream(textFilePath().c_str()) << "not a video\n";
}

void PlayerTest::SetUp() {
    ASSERT_FALSE(testclips::unixDir().empty()) << "VELMORA_CLIP_DIR is not set";
    ASSERT_NE(GetFileAttributesW(longClipPath().c_str()), INVALID_FILE_ATTRIBUTES) << "clips were not copied";
    ASSERT_NE(GetFileAttributesW(exePath().c_str()), INVALID_FILE_ATTRIBUTES) << "no test copy of the player";
    // A new user: no saved placement and no published window of an earlier run, at 100 % (a run that
    // ended while it had set another scale leaves none behind).
    testregistry::removeKey(testregistry::kPlacementKey);
    testregistry::removeKey(testregistry::kHandOffKey);
    testregistry::removeValue(testregistry::kDesktopKey, testregistry::kLogPixels);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    adsLog_ = workFolder() + L"\\ads-" + std::wstring(name.begin(), name.end()) + L".log";
    DeleteFileW(adsLog_.c_str());
}

void PlayerTest::TearDown() {
    player_.kill();
}

bool PlayerTest::launch(PlayerProcess& process, const std::wstring& commandTail, int adsResult,
                        const std::wstring& currentFolder) const {
    Environment environment = {{L"VELMORA_ADS_LOG", adsLog_},
                               {L"VELMORA_ADS_RESULT", std::to_wstring(adsResult)}};
    environment.insert(environment.end(), extraEnvironment_.begin(), extraEnvironment_.end());
    return process.start(exePath(), commandTail, environment, 120000, currentFolder);
}

::testing::AssertionResult PlayerTest::startPlayer(const std::wstring& commandTail, int adsResult) {
    if (!launch(player_, commandTail, adsResult)) {
        return ::testing::AssertionFailure() << "CreateProcess failed, error " << GetLastError();
    }
    if (!player_.waitForWindow(15000)) {
        DWORD code = 0;
        player_.waitForExit(0, &code);
        return ::testing::AssertionFailure()
               << "no main window appeared" << (player_.running() ? "" : "; the player exited with ") << code;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PlayerTest::startPlayerAtDpi(UINT dpi, const std::wstring& commandTail) {
    const DWORD value = dpi;
    if (!testregistry::write(testregistry::kDesktopKey, testregistry::kLogPixels, REG_DWORD, &value,
                             sizeof(value))) {
        return ::testing::AssertionFailure() << "LogPixels could not be set";
    }
    auto started = startPlayer(commandTail);
    testregistry::removeValue(testregistry::kDesktopKey, testregistry::kLogPixels);
    return started;
}

::testing::AssertionResult PlayerTest::startIdle() {
    auto started = startPlayer();
    return started ? waitForTitle(kProductTitle) : started;
}

::testing::AssertionResult PlayerTest::waitForTitle(const std::wstring& title, DWORD timeoutMs) {
    if (waitUntil([&] { return player_.title() == title; }, timeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    const std::wstring last = player_.title();
    return ::testing::AssertionFailure()
           << "title stayed \"" << std::string(last.begin(), last.end()) << "\", expected \""
           << std::string(title.begin(), title.end()) << "\"";
}

::testing::AssertionResult PlayerTest::waitForQueue(DWORD timeoutMs) {
    PostMessageW(player_.window(), WM_TIMER, 100, 0);
    player_.postCommand(ID_HELP_ABOUT);
    const HWND about = player_.waitForDialog(isAboutBox, timeoutMs);
    if (!about) {
        return ::testing::AssertionFailure() << "the player did not get to the about box";
    }
    if (!PlayerProcess::pressDialogButton(about, IDOK)) {
        return ::testing::AssertionFailure() << "the about box did not close";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PlayerTest::openThroughDialog(const std::wstring& path,
                                                         const std::function<void(HWND dialog)>& filter) {
    player_.postCommand(ID_FILE_OPEN);
    const HWND dialog = player_.waitForDialog(isOpenDialog, 5000);
    if (!dialog) {
        return ::testing::AssertionFailure() << "no open dialog titled \"Select File\"";
    }
    if (filter) {
        filter(dialog);
    }
    return chooseInDialog(dialog, path);
}

::testing::AssertionResult PlayerTest::chooseInDialog(HWND dialog, const std::wstring& path) {
    HWND nameBox = GetDlgItem(dialog, 0x47C);
    if (!nameBox) {
        return ::testing::AssertionFailure() << "the open dialog has no file name box";
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    if (!PlayerProcess::pressDialogButton(dialog, IDOK)) {
        return ::testing::AssertionFailure() << "the open dialog did not close";
    }
    return ::testing::AssertionSuccess();
}

std::wstring PlayerTest::exePath() {
    return testclips::windowsPath(VELMORA_E2E_APP_DIR) + L"\\VelmoraPlayer.exe";
}

std::wstring PlayerTest::newFolder(const std::wstring& name) {
    const std::wstring folder = workFolder() + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring PlayerTest::clipOfLength(size_t length) {
    const std::wstring home = L"Long " + std::to_wstring(length);
    newFolder(home);
    const std::wstring folder = newFolder(home + L"\\" + std::wstring(150, L'd'));
    const std::wstring path = folder + L"\\" + std::wstring(length - folder.size() - 5, L'x') + L".mpg";
    CopyFileW(testclips::path("folder/a.mpg").c_str(), path.c_str(), FALSE);
    return path;
}

std::wstring PlayerTest::videosFolder() {
    return workFolder() + L"\\My Videos";
}

std::wstring PlayerTest::videoPath(const wchar_t* name) {
    return videosFolder() + L"\\" + name;
}

std::wstring PlayerTest::longClipPath() {
    return workFolder() + L"\\Long Clip\\long.mpg";
}

std::wstring PlayerTest::textFilePath() {
    return workFolder() + L"\\Not Media\\notes.txt";
}

std::wstring PlayerTest::titleFor(const wchar_t* fileName) {
    return std::wstring(kProductTitle) + L" - " + fileName;
}

std::vector<std::string> PlayerTest::adsCalls() const {
    std::ifstream in(adsLog_.c_str(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool PlayerTest::captureWineMessages(const std::wstring& channels) {
    const char* file = std::getenv("VELMORA_WINE_STDERR");
    if (file == nullptr || *file == '\0') {
        return false;
    }
    wineMessageFile_ = testclips::windowsPath(file);
    std::ifstream in(wineMessageFile_.c_str(), std::ios::binary | std::ios::ate);
    wineMessagesBefore_ = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    // Each line then starts with the process id, "0104:0108:warn:ntdll:...".
    extraEnvironment_.emplace_back(L"WINEDEBUG", channels + L",+pid");
    return true;
}

std::vector<std::string> PlayerTest::wineMessages(const std::string& containing) const {
    std::ifstream in(wineMessageFile_.c_str(), std::ios::binary);
    in.seekg(wineMessagesBefore_);
    char pid[16] = "";
    std::snprintf(pid, sizeof(pid), "%04lx:", static_cast<unsigned long>(player_.processId()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(pid, 0) == 0 && line.find(containing) != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

HWND PlayerTest::controlBar() const {
    for (HWND child : childWindows(player_.window())) {
        if (GetDlgItem(child, IDC_BTN_PLAY)) {
            return child;
        }
    }
    return nullptr;
}

HWND PlayerTest::videoFrame() const {
    const HWND bar = controlBar();
    for (HWND child : childWindows(player_.window())) {
        if (child != bar && classNameOf(child) == L"#32770") {
            return child;
        }
    }
    return nullptr;
}

::testing::AssertionResult PlayerTest::waitForShownSurface(HWND& surface, DWORD timeoutMs) const {
    const bool shown = waitUntil(
        [&] {
            surface = videoSurface();
            return surface != nullptr && IsWindowVisible(surface);
        },
        timeoutMs);
    if (shown) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the video surface never became visible";
}

HWND PlayerTest::videoSurface() const {
    const HWND frame = videoFrame();
    if (!frame) {
        return nullptr;
    }
    for (HWND child : childWindows(frame)) {
        if (classNameOf(child) == L"#32770") {
            return child;
        }
    }
    return nullptr;
}

int PlayerTest::barHeight() const {
    const HWND bar = controlBar();
    return bar ? testwin::sizeOf(rectInParent(bar)).cy : 0;
}

HWND PlayerTest::barControl(int id) const {
    const HWND bar = controlBar();
    return bar ? GetDlgItem(bar, id) : nullptr;
}

bool PlayerTest::barControlShown(int id) const {
    const HWND control = barControl(id);
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT PlayerTest::barControlOnScreen(int id) const {
    return windowRect(barControl(id));
}

RECT PlayerTest::timeTextOnScreen() const {
    const RECT slider = barControlOnScreen(IDC_TIME_SLIDER);
    POINT barTop{0, 0};
    ClientToScreen(controlBar(), &barTop);
    return RECT{slider.left, barTop.y, slider.right, slider.top};
}

double PlayerTest::timeKnobShare() const {
    const Picture slider = captureScreen(barControlOnScreen(IDC_TIME_SLIDER));
    const auto column = [&](int x) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < slider.height; ++y) {
            pixels.push_back(slider.pixels[static_cast<size_t>(y) * slider.width + x]);
        }
        return pixels;
    };
    // The track and its played part are pictures tiled from alike columns; the round knob's columns come
    // once, or twice as its two halves mirror each other. It is the widest run of those (the track's
    // last few columns may be of their own too).
    std::map<std::vector<std::uint32_t>, int> counts;
    for (int x = 0; x < slider.width; ++x) {
        ++counts[column(x)];
    }
    int left = -1, width = 0;
    for (int x = 0, run = 0; x < slider.width; ++x) {
        run = counts[column(x)] <= 2 ? run + 1 : 0;
        if (run > width) {
            width = run;
            left = x - run + 1;
        }
    }
    const int travel = slider.width - width;
    return left >= 0 && travel > 0 ? static_cast<double>(left) / travel : -1;
}

::testing::AssertionResult PlayerTest::waitForTimeTextChanges(int changes, DWORD timeoutMs) const {
    Picture last = captureScreen(timeTextOnScreen());
    int seen = 0;
    waitUntil(
        [&] {
            Picture now = captureScreen(timeTextOnScreen());
            if (now.differingPixels(last) > 0) {
                last = std::move(now);
                ++seen;
            }
            return seen >= changes;
        },
        timeoutMs, 50);
    if (seen >= changes) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the time text changed " << seen << " times, not " << changes;
}

void PlayerTest::saveScreenshot(const wchar_t* name) const {
    const wchar_t* folder = _wgetenv(L"VELMORA_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == L'\0') {
        return;
    }
    Sleep(400);  // the last repaint of the bar and the picture
    EXPECT_TRUE(
        captureScreen(windowRect(player_.window())).saveBmp(std::wstring(folder) + L"\\" + name + L".bmp"));
}

::testing::AssertionResult PlayerTest::waitForSlots(int openOrStop, int playOrPause, DWORD timeoutMs) const {
    const int otherLeft = openOrStop == IDC_BTN_OPEN ? IDC_BTN_STOP : IDC_BTN_OPEN;
    const int otherRight = playOrPause == IDC_BTN_PLAY ? IDC_BTN_PAUSE : IDC_BTN_PLAY;
    const auto settled = [&] {
        return barControlShown(openOrStop) && barControlShown(playOrPause) && !barControlShown(otherLeft) &&
               !barControlShown(otherRight);
    };
    if (waitUntil(settled, timeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "buttons " << openOrStop << " and " << playOrPause << " are not the visible ones";
}

void PlayerTest::setClientSize(int width, int height) const {
    const HWND main = player_.window();
    RECT window{};
    GetWindowRect(main, &window);
    const SIZE client = e2e::clientSize(main);
    SetWindowPos(main, nullptr, 0, 0, width + (window.right - window.left) - client.cx,
                 height + (window.bottom - window.top) - client.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT PlayerTest::mouseAt(POINT point, std::initializer_list<DWORD> buttons) const {
    SetForegroundWindow(player_.window());
    SetCursorPos(point.x, point.y);
    return pressMouse(buttons);
}

UINT PlayerTest::pressMouse(std::initializer_list<DWORD> buttons) {
    std::vector<INPUT> inputs(buttons.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = buttons.begin()[i];
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

UINT PlayerTest::typeKey(UINT virtualKey) const {
    SetForegroundWindow(player_.window());
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT));
}

UINT PlayerTest::typeCharacter(wchar_t character) const {
    const SHORT key = VkKeyScanW(character);
    return key == -1 || HIBYTE(key) != 0 ? 0 : typeKey(LOBYTE(key));
}

HWND PlayerTest::openContextMenu() const {
    // The menu opens where the pointer is: near the video's top left corner, its submenus have room to
    // open inside the window.
    const HWND frame = videoFrame();
    const RECT area = windowRect(frame);
    const POINT at{area.left + (area.right - area.left) / 8, area.top + (area.bottom - area.top) / 8};
    SetCursorPos(at.x, at.y);
    PostMessageW(frame, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame), MAKELPARAM(at.x, at.y));
    HWND menu = nullptr;
    waitUntil(
        [&] {
            menu = player_.findPopupMenu();
            return menu != nullptr;
        },
        5000);
    return menu;
}

void PlayerTest::menuKeys(HWND menu, std::initializer_list<UINT> keys) {
    for (UINT key : keys) {
        if (key >= L'a' && key <= L'z') {
            PostMessageW(menu, WM_CHAR, key, 0);
        } else {
            PostMessageW(menu, WM_KEYDOWN, key, 0);
        }
    }
}

bool PlayerTest::isFullScreen() const {
    const LONG_PTR style = GetWindowLongPtrW(player_.window(), GWL_STYLE);
    RECT rect{};
    GetWindowRect(player_.window(), &rect);
    return (style & (WS_CAPTION | WS_THICKFRAME)) == 0 && rect.left == 0 && rect.top == 0 &&
           rect.right == GetSystemMetrics(SM_CXSCREEN) && rect.bottom == GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace e2e
