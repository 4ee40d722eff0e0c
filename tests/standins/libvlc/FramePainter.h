#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Draws the stand-in's "video": colour bars that slide with the play time and the time itself, so that
// a screenshot of a playing window shows a moving picture, and the on-screen text (the marquee) at the
// top left, white on black. Called on the stand-in's own thread; it only takes the window's DC and never
// sends the window a message.
namespace standin {

void paintFrame(HWND window, std::int64_t timeMs, std::int64_t lengthMs,
                const std::wstring& onScreenText = {});

// Text shown in the picture: "m:ss.t / m:ss".
void formatFrameTime(std::int64_t timeMs, std::int64_t lengthMs, wchar_t* out, int capacity);

}  // namespace standin
