#pragma once

#include <windows.h>

#include <utility>

// A memory device context with a 32-bit DIB section of the buffer's size selected into it, all pixels
// zero when made. Empty (no context, no bitmap, size 0 x 0) by default and when creation fails. Owns
// both handles: the bitmap is selected out before either is deleted.
class OffscreenBuffer {
public:
    OffscreenBuffer() = default;
    // A buffer compatible with the reference context; empty when the context or the bitmap can't be made
    // or the size is empty.
    static OffscreenBuffer create(HDC reference, int width, int height);

    ~OffscreenBuffer() { reset(); }
    OffscreenBuffer(OffscreenBuffer&& other) noexcept { swap(other); }
    OffscreenBuffer& operator=(OffscreenBuffer&& other) noexcept {
        OffscreenBuffer moved(std::move(other));
        swap(moved);
        return *this;
    }
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    bool empty() const { return dc_ == nullptr; }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void reset();

private:
    void swap(OffscreenBuffer& other) noexcept {
        std::swap(dc_, other.dc_);
        std::swap(bitmap_, other.bitmap_);
        std::swap(previous_, other.previous_);
        std::swap(width_, other.width_);
        std::swap(height_, other.height_);
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // the context's own bitmap, selected back before deletion
    int width_ = 0;
    int height_ = 0;
};
