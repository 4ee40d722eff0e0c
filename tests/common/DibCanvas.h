#pragma once

#include <windows.h>

#include <cstdint>

#include "TestWindows.h"  // beside this file: the stand-in includes it from the source root
#include "ui/GdiGuards.h"

// Canvases the tests draw on and read back: a memory device context and a 32-bit DIB whose pixels the
// test addresses directly.

// A memory device context compatible with the given one (null: with the screen), deleted at the end.
struct MemoryDC : testwin::Owned<HDC, DeleteDC> {
    explicit MemoryDC(HDC reference = nullptr)
        : testwin::Owned<HDC, DeleteDC>(CreateCompatibleDC(reference)) {}
};

// A top-down 32-bit DIB section of width x height; *bits (when given) receives its pixels, one 0xAARRGGBB
// value per pixel, rows without padding. Empty on failure or for a zero or negative size.
inline BitmapHandle createDib32(int width, int height, std::uint32_t** bits = nullptr) {
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (width <= 0 || height <= 0) {
        return BitmapHandle();
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bitmap && bits != nullptr) {
        *bits = static_cast<std::uint32_t*>(pixels);
    }
    return bitmap;
}

// A 32-bit top-down DIB selected into a memory device context.
class DibCanvas {
public:
    DibCanvas(int width, int height, std::uint32_t fill)
        : width_(width),
          height_(height),
          bitmap_(createDib32(width, height, &bits_)),
          select_(dc_.get(), bitmap_.get()) {
        for (int i = 0; bits_ != nullptr && i < width * height; ++i) {
            bits_[i] = fill;
        }
    }

    bool ready() const { return bits_ != nullptr && select_.selected(); }
    HDC dc() const { return dc_.get(); }
    // 0x00RRGGBB of the pixel (the unused top byte masked off).
    std::uint32_t rgb(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    const std::uint32_t* bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Copies the rectangle of dc (its size being the canvas's) onto the canvas, and waits for GDI.
    bool copyFrom(HDC dc, int x, int y) {
        const bool copied = BitBlt(dc_.get(), 0, 0, width_, height_, dc, x, y, SRCCOPY) != FALSE;
        GdiFlush();
        return copied;
    }

private:
    int width_;
    int height_;
    std::uint32_t* bits_ = nullptr;
    MemoryDC dc_;
    BitmapHandle bitmap_;
    SelectedObject select_;
};

inline int redOf(std::uint32_t rgb) {
    return (rgb >> 16) & 0xFF;
}
inline int greenOf(std::uint32_t rgb) {
    return (rgb >> 8) & 0xFF;
}
inline int blueOf(std::uint32_t rgb) {
    return rgb & 0xFF;
}
