#pragma once

#include <windows.h>

#include <memory>

#include "playback/PlayerType.h"
#include "ui/CursorIdle.h"
#include "ui/GdiGuards.h"
#include "ui/WindowLinks.h"

namespace Gdiplus {
class Image;
}

// The video area above the control bar: a frame dialog that shows the logo and the branding link, and
// the video surface inside it that the player renders into. One object per process.
class PlayWnd {
public:
    // The single video window, created on first use (no windows yet).
    static PlayWnd* instance();
    // Deletes the single object and forgets it.
    static void destroyInstance();

    virtual ~PlayWnd();
    PlayWnd(const PlayWnd&) = delete;
    PlayWnd& operator=(const PlayWnd&) = delete;

    // What the video window reads of the rest of the player; set once by start-up.
    void setLinks(WindowLinks links) { links_ = std::move(links); }

    // Creates the frame as a child of the main window (if it doesn't exist) and loads the logo, both
    // from the module's resources.
    bool create(HINSTANCE instance, HWND mainWindow);
    bool loadLogo();
    void layout();
    void paint(HDC dc, bool isSurface);
    void trackContextMenu(HMENU menu);
    void checkCursorIdle();
    // The pointer moved over the frame or the surface (WM_MOUSEMOVE of that window, client coordinates).
    void pointerMoved(HWND window, LPARAM lParam);
    // True when the window under the screen point is the video frame or one of its children; a dialog of
    // the player's own (open dialog, about box) may lie over the video area.
    bool pointerOverVideo(POINT position) const;
    // True while the idle rule keeps the cursor hidden.
    bool cursorHidden() const { return cursor_.hidden(); }
    bool open(PlayerType playerType, HINSTANCE instance);
    void showSurface(bool show);
    void destroyWindows();
    // The display scale the video window is drawn for (96 at 100 %): the logo, the link's font and place
    // and the cursor's movement threshold follow it. create() takes the main window's; a change reloads
    // the logo and the font and lays the frame out again.
    void setDpi(UINT dpi);
    UINT dpi() const { return dpi_; }

    HWND frameWindow() const { return frameWindow_; }
    HWND surfaceWindow() const { return surfaceWindow_; }
    HWND linkWindow() const { return linkWindow_; }

    static INT_PTR CALLBACK frameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK surfaceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    PlayWnd();

    // The messages the frame and the surface answer alike (painting, the menu, a double-click, the
    // pointer's movements); false for any other.
    bool onVideoMessage(HWND window, UINT message, LPARAM lParam, bool isSurface);
    void showContextMenu();
    void toggleFullScreen();
    void initFrame(HWND frame);
    // The controller's player state; 0 when there is no controller or player.
    int playerState() const;
    // Shows or hides the cursor as the idle rule answered.
    static void applyCursorAction(CursorIdle::Action action);
    bool surfaceVisible() const;

    WindowLinks links_;
    HINSTANCE instance_ =
        GetModuleHandleW(nullptr);  // the module whose resources make the windows, menu and logo
    HWND frameWindow_ = nullptr;
    HWND surfaceWindow_ = nullptr;
    FontHandle linkFont_;  // the link's underlined font, deleted after the link is gone
    HWND linkWindow_ = nullptr;
    std::unique_ptr<Gdiplus::Image> logo_;
    CursorIdle cursor_;  // last movement, its tick and whether the cursor is hidden by this window
    UINT dpi_ = 96;
};
