#pragma once

#include "ui/GdiGuards.h"

#include <cstdint>

// A 32-bit top-down DIB selected into a memory device context, for tests that draw and then read pixels.
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
    int width() const { return width_; }
    int height() const { return height_; }

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
