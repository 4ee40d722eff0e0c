#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "playback/PlayerType.h"

// The control bar's arithmetic and decisions, free of windows so that they can be checked alone.
namespace playbar {

// Which button of each shared slot shows for a player state: Open or Stop, Play or Pause.
struct ButtonGroup {
    int shown[2];
    int hidden[2];
};
ButtonGroup buttonGroupFor(int playerState);

// Text of one time value: "5000" (the plain number) for kind 2, else hours:minutes:seconds with at least
// two digits each ("100:00:00" for 100 hours).
std::wstring formatTime(std::int64_t ms, PlayerType kind);
// "position / length".
std::wstring timeText(std::int64_t position, std::int64_t length, PlayerType kind);
// The line above the time slider: a text about a change while it is shown, else the time, after the
// speed while that isn't normal ("1.5×   00:00:05 / 00:00:20").
std::wstring timeLine(const std::wstring& time, float speed, const std::wstring& feedback);

// What a screen reader reads of the bar. The volume slider's value: "80 %", or "Muted" while the sound is
// off.
std::wstring volumeValue(int percent, bool muted);
// The Mute button's name: its tooltip's text, and while the sound is off "Mute On/Off (Muted)".
std::wstring muteButtonName(bool muted);
// A moving position is told to listening readers at most once a second: due when none was told yet
// (told false) or the last one (at tick last) is that old.
constexpr DWORD kPositionEventMs = 1000;
bool positionEventDue(bool told, DWORD last, DWORD now);

// Left edge of the time knob inside an area areaWidth wide: proportional to position over length,
// kept inside [0, areaWidth - knobWidth]; 0 without a length.
int timeKnobOffset(std::int64_t position, std::int64_t length, int areaWidth, int knobWidth);
// Left edge of the volume knob on its track for a volume of 0..100.
int volumeKnobOffset(int trackWidth, int knobWidth, int volume);
// Where the knob's centre would be for a pointer at x, as a fraction 0..1 of the area
// [left, right): the knob's half width is kept off both ends. An area no wider than the knob gives 0.
double dragFraction(int x, int left, int right, int knobWidth);
// The volume a fraction stands for, to the nearest whole percent.
int volumeForFraction(double fraction);
// The seek target a fraction stands for, truncated to whole milliseconds.
std::int64_t timeForFraction(double fraction, std::int64_t length);

// One piece of a tiled picture: its left offset and width.
struct TilePiece {
    int offset;
    int width;
};
// Pieces of a picture pictureWidth wide repeated across width: whole copies, then the last copy squeezed
// into what remains. No pieces for a picture of width 0 or an empty width. Calls draw(piece) for each.
template <class Draw>
void forEachTilePiece(int pictureWidth, int width, Draw draw) {
    if (pictureWidth <= 0 || width <= 0) {
        return;
    }
    const int pieces = width / pictureWidth + 1;
    int offset = 0;
    int pieceWidth = pictureWidth;
    for (int i = 0; i < pieces; ++i) {
        if (offset + pieceWidth > width) {
            pieceWidth = width - offset;
        }
        if (pieceWidth > 0) {
            draw(TilePiece{offset, pieceWidth});
            offset += pieceWidth;
        }
    }
}

// The full-screen auto-hide: what one timer tick does.
enum class AutoHideStep {
    Nothing,      // auto-hide off, or the pointer over the bar
    KeepResting,  // the pointer rests, not long enough yet (or the bar is hidden already)
    Hide,         // rested long enough: hide the bar
    Record,       // the pointer moved: record it as the new activity
    ShowRecord,   // the pointer moved while the bar was hidden: show it and record
};
constexpr DWORD kAutoHideDelayMs = 5000;
constexpr LONG kAutoHideMove = 5;  // pixels (at 96 DPI) on either axis; 4 is still rest

// moveThreshold is kAutoHideMove at the bar's DPI.
AutoHideStep autoHideStep(DWORD lastActivity, POINT lastCursor, DWORD now, POINT cursor, bool overBar,
                          bool barVisible, LONG moveThreshold = kAutoHideMove);

}  // namespace playbar
