#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ios>
#include <initializer_list>
#include <string>

#include "e2e/PlayerProcess.h"

namespace e2e {

constexpr wchar_t kProductTitle[] = L"Velmora Player";
constexpr wchar_t kLoadFailure[] = L"Could not load the file";

// Two of the player's dialog boxes.
bool isAboutBox(HWND dialog);
bool isOpenDialog(HWND dialog);

// Every case starts its own player from a test copy of the program (with the libvlc stand-in and the
// advertisement double beside it), as a new user would: no saved settings, clips in ordinary folders.
class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the player with the command tail and waits for its main window; adsResult is what the
    // advertisement double answers when the window is asked to close.
    ::testing::AssertionResult startPlayer(const std::wstring& commandTail = L"", int adsResult = 0);
    // The same on a screen of dpi: the scale is set for the player's start only (Wine reads it when a
    // process starts) and put back once its window is there.
    ::testing::AssertionResult startPlayerAtDpi(UINT dpi, const std::wstring& commandTail = L"");
    // Starts a further copy of the player with the command tail, waiting for nothing; in the program's
    // folder unless currentFolder names another.
    bool launch(PlayerProcess& process, const std::wstring& commandTail, int adsResult = 0,
                const std::wstring& currentFolder = L"") const;
    // Starts it and waits until the first timer tick has set the product name as the title.
    ::testing::AssertionResult startIdle();
    ::testing::AssertionResult waitForTitle(const std::wstring& title, DWORD timeoutMs = 5000);
    // Waits until the player has handled everything posted to it so far, and a timer tick after that: its
    // queue is in order, so once the about box that a command posted now brings up is there, all that came
    // before is done. The box is closed again.
    ::testing::AssertionResult waitForQueue(DWORD timeoutMs = 10000);
    // Chooses the file in the open dialog (Ctrl+O's command), typing its path and confirming; `filter`,
    // when given, is done with the dialog first (its file types are control 0x470).
    ::testing::AssertionResult openThroughDialog(const std::wstring& path,
                                                 const std::function<void(HWND dialog)>& filter = nullptr);
    // Types the path into an open dialog of the player's and confirms it.
    static ::testing::AssertionResult chooseInDialog(HWND dialog, const std::wstring& path);

    static std::wstring exePath();
    // A folder of that name (a relative path whose parents exist) in the tests' work folder, made when
    // missing.
    static std::wstring newFolder(const std::wstring& name);
    // A copy of a.mpg alone in a folder of its own, whose full path has exactly `length` characters.
    static std::wstring clipOfLength(size_t length);
    // "<temp>\velmora e2e\My Videos": a.mpg, b.mpg and c.mpg of one second each.
    static std::wstring videosFolder();
    static std::wstring videoPath(const wchar_t* name);
    // A twelve-second clip alone in its folder.
    static std::wstring longClipPath();
    // A text file: readable, but not media.
    static std::wstring textFilePath();
    static std::wstring titleFor(const wchar_t* fileName);

    // Lines the advertisement double wrote (one per call).
    std::vector<std::string> adsCalls() const;
    // Starts the next player with Wine's messages of the debug channels (WINEDEBUG, e.g. "warn+ntdll") in
    // the file VELMORA_WINE_STDERR names; false when the test's run names none.
    bool captureWineMessages(const std::wstring& channels);
    // The lines of those messages the player wrote since it started that contain the text.
    std::vector<std::string> wineMessages(const std::string& containing) const;

    // The two children of the main window: the control bar holds the Play button; the other one is
    // the video window's frame. Null while missing.
    HWND controlBar() const;
    HWND videoFrame() const;
    // The video surface inside the frame; null while there is none.
    HWND videoSurface() const;
    // Waits until the surface exists and is visible, and hands it back.
    ::testing::AssertionResult waitForShownSurface(HWND& surface, DWORD timeoutMs = 5000) const;
    // The bar's height as laid out, 0 without a bar.
    int barHeight() const;
    // A control of the bar (a button or a slider area), null while missing; whether it has WS_VISIBLE.
    HWND barControl(int id) const;
    bool barControlShown(int id) const;
    // A control of the bar on the screen; the strip above the time slider that shows the time text.
    RECT barControlOnScreen(int id) const;
    RECT timeTextOnScreen() const;
    // Where the time slider's knob is, as a share of its travel: 0 at the start of the clip, 1 at its end;
    // -1 when no knob shows.
    double timeKnobShare() const;
    // Waits until the time text has changed the given number of times: the length coming up is one
    // change, every second of play another.
    ::testing::AssertionResult waitForTimeTextChanges(int changes, DWORD timeoutMs = 6000) const;
    // With VELMORA_SCREENSHOT_DIR set, the main window as the screen shows it goes there as NAME.bmp.
    void saveScreenshot(const wchar_t* name) const;
    // Waits until exactly the given buttons of the two shared slots (Open/Stop, Play/Pause) are visible.
    ::testing::AssertionResult waitForSlots(int openOrStop, int playOrPause, DWORD timeoutMs = 5000) const;
    // Resizes the main window to a client area width x height (the frame kept as it is).
    void setClientSize(int width, int height) const;
    bool isFullScreen() const;
    // The pointer over the point, the player's window in front, then the buttons pressed or released in
    // turn, as a real mouse does it; how many events went in.
    UINT mouseAt(POINT point, std::initializer_list<DWORD> buttons) const;
    static UINT pressMouse(std::initializer_list<DWORD> buttons);
    // The player's window in front, then a key pressed and released as a real keyboard does it (the
    // virtual key of the character on this keyboard's layout for typeCharacter); how many events went in.
    UINT typeKey(UINT virtualKey) const;
    UINT typeCharacter(wchar_t character) const;
    // The video area's context menu, opened as a right-click opens it; null when none appeared. Keys
    // posted to it move through it as the keyboard does (VK_DOWN, VK_RIGHT, VK_RETURN, or a character of
    // an item's mnemonic as WM_CHAR).
    HWND openContextMenu() const;
    static void menuKeys(HWND menu, std::initializer_list<UINT> keys);

    PlayerProcess player_;
    std::wstring adsLog_;
    Environment extraEnvironment_;  // for the next start, on top of the advertisement double's
    std::wstring wineMessageFile_;
    std::streamoff wineMessagesBefore_ = 0;  // the file's size when the player started
};

}  // namespace e2e
