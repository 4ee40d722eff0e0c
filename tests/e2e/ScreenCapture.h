#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A copy of a region of the screen, 0x00RRGGBB per pixel, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    // Pixels that differ from the other picture of the same size (all of them when the sizes differ).
    size_t differingPixels(const Picture& other) const;
    // Pixels that are not black.
    size_t litPixels() const;
    // Number of different colours, counted up to the limit.
    size_t distinctColours(size_t limit = 64) const;
    // Pixels whose red, green and blue are all below the level (dark text on a light picture).
    size_t darkPixels(int level) const;
    // The leftmost column holding such a pixel; -1 when none does.
    int leftmostDark(int level) const;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // White text over a picture: pixels whose red, green and blue are all above 192, in the rows from top
    // to bottom that start black, as a picture's rows do beside a 4:3 picture on a wider surface (the
    // surface's last rows may be the control bar's). The columns from the first such pixel to the last
    // go to `span` when given (0 without any).
    size_t brightPixels(int top, int bottom, int* span = nullptr) const;
    // Writes the picture as a 32-bit BMP file; false when it can't be written.
    bool saveBmp(const std::wstring& path) const;
};

// What the screen shows in the rectangle (screen coordinates), whichever window it belongs to.
Picture captureScreen(const RECT& screenRect);
// What the screen shows over a window's client area.
Picture captureClient(HWND window);
// Waits until more than the share (a quarter unless told) of the window's client area is lit (the first
// frame of a clip may take a while on a loaded machine) and hands that picture back; false when it never was.
bool waitForLitPicture(HWND window, Picture& picture, DWORD timeoutMs = 5000, double share = 0.25);

}  // namespace e2e
