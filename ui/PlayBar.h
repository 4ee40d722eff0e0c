#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "playback/PlayerType.h"
#include "ui/AccessiblePart.h"
#include "ui/BarAccess.h"
#include "ui/BufferLock.h"
#include "ui/GdiGuards.h"
#include "ui/OffscreenBuffer.h"
#include "ui/SkinPicture.h"
#include "ui/WindowLinks.h"

namespace Gdiplus {
class Graphics;
class Image;
}  // namespace Gdiplus
class PlayLogic;

// The skinned control bar along the bottom of the main window: picture buttons that post the main
// window's commands, the time slider with the time text above it and the volume slider. In full screen it
// hides when the pointer rests. One object per process.
class PlayBar {
public:
    // The single bar, made on first use (no window yet).
    static PlayBar* instance();
    // Deletes the single bar and forgets it.
    static void destroyInstance();

    virtual ~PlayBar();
    PlayBar(const PlayBar&) = delete;
    PlayBar& operator=(const PlayBar&) = delete;

    void setLinks(WindowLinks links) { links_ = std::move(links); }

    // The bar window and its tooltip window as children of the parent; true when both exist.
    bool create(HINSTANCE instance, HWND parent);
    // Registers the tooltips and makes the time text's font; always true.
    bool initControls();
    // Destroys the tooltip and the bar window.
    void destroyWindows();
    // Height in pixels: 0 without a window, 27 (at 96 DPI) without the background picture, else the
    // picture's height.
    int height() const;
    // The display scale the bar is drawn for (96 at 100 %): its pictures, gaps, fonts (the time text's and
    // the tooltips') and the auto-hide's pointer threshold follow it. create() takes the main window's; a
    // change reloads the pictures and the font and lays the bar out again.
    void setDpi(UINT dpi);
    UINT dpi() const { return dpi_; }
    HFONT timeFont() const { return timeFont_.get(); }
    void layout();
    void paint(HDC dc);
    void drawButton(const DRAWITEMSTRUCT& item);
    // Shows and enables the buttons for the player state, the playlist and the full-screen mode.
    void updateButtons();
    // The full-screen auto-hide: hides the bar after 5 s of rest outside it, shows it on a 5-pixel move.
    void autoHideTick();
    // Starts a rest period (full screen) or, with tick 0, switches the auto-hide off.
    void setLastActivity(DWORD tick, POINT cursor);
    DWORD lastActivity() const { return lastActivity_; }

    // Sliders, time text and the off-screen buffers they are drawn in.
    void ensureBuffers();
    void tileImage(HDC dc, Gdiplus::Image* image, int x, int y, int width);
    void drawTimeSlider(HDC dc);
    void drawVolumeSlider(HDC dc);
    void present(HDC dc = nullptr);
    // Re-reads time and length from a playing or paused player and redraws the time slider only.
    void refreshTime();
    // Shows the position (a seek just asked for) with the length last read, and redraws the time slider.
    void showPosition(std::int64_t positionMs);
    // Redraws the volume slider when the volume to show changed.
    void refreshVolume();
    void pressSlider(LPARAM lParam);
    void dragSlider(LPARAM lParam);
    void endDrag();
    // After a stop: lets go of a drag, switches the auto-hide off and forgets the length.
    void resetAfterStop();
    // Shows the text in place of the time for that long (in full screen the bar comes back for it),
    // then the time again.
    void showFeedback(const std::wstring& text, int durationMs);
    const std::wstring& feedback() const { return feedback_; }
    // Tells screen readers the words of a change: the told-text object takes them as its name, and they
    // go out as an announcement (UI Automation's notification, where the system has it).
    void announce(const std::wstring& words);
    // What a screen reader reads of the time slider (its value the bar's time text) and of the volume
    // slider ("80 %" or "Muted"); both unavailable while nothing plays or pauses.
    AccessibleReading positionReading() const;
    AccessibleReading volumeReading() const;

    HWND window() const { return window_; }
    HWND tooltip() const { return tooltip_; }
    std::int64_t position() const { return position_; }
    std::int64_t length() const { return length_; }
    int shownVolume() const { return shownVolume_; }
    int dragTarget() const { return dragTarget_; }
    const OffscreenBuffer& compositeBuffer() const { return compositeBuffer_; }
    // A slider area (time or volume control id) in bar client coordinates; empty when missing.
    RECT sliderArea(int controlId) const;

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    PlayBar();

    PlayLogic* controller() const;
    // The pictures drawn for the bar's DPI, in place of the ones it had; everything prepared from those
    // goes with them.
    void loadPictures();
    // The time text's font and the tooltips' font for the bar's DPI, in place of the ones they had.
    void makeFonts();
    // A length in 96-DPI pixels at the bar's DPI.
    int px(int value) const;
    // The control's picture, decoded by the first call; null when it has none.
    Gdiplus::Image* imageFor(int controlId);
    // One placement step of the layout; returns the x for the next control.
    int place(int controlId, int x, bool rightward, int verticalOffset);
    void showControl(int controlId, bool show, bool enable);
    // Copies the background column under an area into dc.
    void copyBackgroundColumn(HDC dc, const RECT& area);
    void onCommand(int controlId);
    // The bar's own WS_VISIBLE style, which the auto-hide switches (the main window may itself be hidden).
    bool isShown() const;
    void setShown(bool shown);
    // Draws the time slider for position_ (kept within the length) and puts it on the screen.
    void redrawTime();
    int timeKnobWidth();
    int volumeKnobWidth();
    // The time slider's unchanging parts for the area: true when timeCache_ holds them.
    bool ensureTimeCache(const RECT& area);
    void drawKnob(Gdiplus::Graphics& graphics, const RECT& area, int offset);
    int knobTop(const RECT& area) const;
    // The Mute button's picture: a struck-through speaker while the sound is off.
    Gdiplus::Image* buttonPicture(int controlId);
    void endFeedback();
    // The time text for position_ and length_ in the player's kind of numbers.
    std::wstring timeText() const;
    // Screen readers (PlayBarAccess.cpp): the parts served through the sliders' and the told text's
    // windows; the told text's window laid over the time text; an event for each change a listening
    // reader follows (the position at most once a second).
    void attachAccess();
    void placeToldStatus();
    void tellPositionToReaders();
    void tellVolumeToReaders();
    void tellAvailabilityToReaders();

    HWND window_ = nullptr;
    std::map<unsigned, SkinPicture> imagesById_;
    BrushHandle backgroundBrush_;
    std::unique_ptr<Gdiplus::Image> barBackground_;
    std::unique_ptr<Gdiplus::Image> volumeBall_;
    std::unique_ptr<Gdiplus::Image> timeForeground_;
    std::unique_ptr<Gdiplus::Image> timeBall_;
    OffscreenBuffer compositeBuffer_;
    OffscreenBuffer backgroundBuffer_;
    int shownVolume_ = 100;
    std::int64_t position_ = 0;
    std::int64_t length_ = 0;
    int dragTarget_ = 0;
    POINT lastCursor_{};
    DWORD lastActivity_ = 0;
    bool contentReady_ = false;
    BufferLock bufferLock_;
    HWND tooltip_ = nullptr;
    FontHandle timeFont_;
    FontHandle tooltipFont_;  // the system's tooltip font at the bar's scale
    WindowLinks links_;
    // The time slider's column prepared once per layout: the background with the track tiled over it,
    // and below it the same with the played part's whole pieces across the full width. A time change
    // copies from it instead of tiling the small pictures again.
    OffscreenBuffer timeCache_;
    RECT timeCacheArea_{};
    // What a time change blends over the cached column, prepared once: the knob, and the played part's
    // last piece at each width it can be squeezed to (the index).
    OffscreenBuffer timeKnobPicture_;
    std::vector<OffscreenBuffer> playedPieces_;
    RECT timeArea_{};  // the slider areas as the last layout placed them; empty before
    RECT volumeArea_{};
    int timeKnobWidth_ = -1;  // read once on first use
    int volumeKnobWidth_ = -1;
    UINT dpi_ = 96;
    // The time line's text about a change, while it is shown; the mute state the Mute button shows.
    std::wstring feedback_;
    SkinPicture mutedPicture_;
    bool shownMuted_ = false;
    // Screen readers: the parts they are served, the last told words, and the position last raised to
    // them and when (positionTold_ false: none yet).
    BarAccess access_;
    std::wstring told_;
    bool positionTold_ = false;
    DWORD positionToldAt_ = 0;
    std::int64_t positionToldMs_ = 0;
    bool readersSawMedia_ = false;
};
