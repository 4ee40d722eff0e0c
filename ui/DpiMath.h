#pragma once

#include <windows.h>

#include <string>

// The arithmetic of display scale, free of windows: every layout number of the player is given in pixels
// of a 96-DPI screen and becomes real pixels here, and the skin pictures come drawn for a few scales.
namespace dpimath {

constexpr UINT kBaseDpi = 96;  // 100 %: the layout numbers are in its pixels

// value 96-DPI pixels at dpi, rounded half away from zero as MulDiv(value, dpi, 96) rounds.
int scale(int value, UINT dpi);

// The scales the skin pictures are drawn for, in percent, smallest first. Every scale's pictures have the
// names of the 100 % ones ("IDB_PLAY", 142 for the logo); their resource type tells the scale: "PNG" at
// 100 %, "PNG_150" at 150 %.
constexpr int kPictureScales[] = {100, 125, 150, 175, 200, 250, 300};
// The pictures to load for dpi: the exact scale, else the next larger one (drawn smaller, never larger,
// than it was made); above the largest scale, the largest.
int pictureScaleFor(UINT dpi);
// The size in 96-DPI pixels of a picture that has `pixels` pixels at `percent` (the pictures' sizes are
// those of 100 % times the scale, rounded half up).
int baseSizeOf(int pixels, int percent);
// The resource type of the pictures of a scale.
std::wstring pictureType(int percent);

}  // namespace dpimath
