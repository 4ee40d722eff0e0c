#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/WindowLinks.h"

class PlayLogic;
class PlayWnd;
class PlayBar;
class MediaPlayerApp;

// The process-wide state record. Every part of the player reaches the main window, the controller,
// the video window and the control bar through it.
struct AppState {
    AppState();
    ~AppState();
    AppState(AppState&&) noexcept;
    AppState& operator=(AppState&&) noexcept;

    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    std::unique_ptr<PlayLogic> controller;
    PlayWnd* videoWindow = nullptr;  // the single video window; PlayWnd::instance owns it
    PlayBar* controlBar = nullptr;   // the single control bar; PlayBar::instance owns it
    UINT_PTR timerId = 0;
    BOOL placementValid = FALSE;  // placement holds a usable window placement
    WINDOWPLACEMENT placement{};
    BOOL fullScreen = FALSE;
    BOOL layoutEnabled = FALSE;  // off during start-up and while a full-screen switch runs
    std::unique_ptr<MediaPlayerApp> app;
    bool firstLayoutPending = true;  // the first layout sizes and centres a window without a placement
    // The main window's DPI (96 at 100 %): read when it is created, then what WM_DPICHANGED says.
    UINT dpi = 96;
    std::wstring shownTitle;  // the main window's title as last set, so that a tick needn't read it
};

AppState& appState();
// The links through which the video window and the control bar read the controller, the main window and
// the full-screen flag of this record.
WindowLinks appWindowLinks();
// Puts every field back to its start value (releasing what the record owns).
void resetAppState();
