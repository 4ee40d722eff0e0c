#pragma once

#include <windows.h>

#include <utility>

// Small owners for GDI handles, icons and selections. Each releases exactly what it acquired, can be moved
// but never copied (a copied owner would delete twice), and is empty after a move.

// Owns a handle and releases it with Release (DeleteObject, DestroyIcon) when it is replaced or ends.
template <class Handle, auto Release>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        Handle old = std::exchange(handle_, handle);
        if (old != nullptr && old != handle) {
            Release(old);
        }
    }

private:
    Handle handle_ = nullptr;
};

// Owns a GDI object (brush, font, bitmap) and deletes it.
template <class Handle>
using GdiObject = OwnedHandle<Handle, DeleteObject>;
// Owns an icon the program made (not a shared one, which the system keeps) and destroys it.
using IconHandle = OwnedHandle<HICON, DestroyIcon>;

using BrushHandle = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;

// Selects an object into a device context and selects the previous one back when it ends, so that the
// object can be deleted afterwards (a selected object cannot be). For brushes, pens, fonts and bitmaps;
// selecting a region returns no previous object (use SelectClipRgn for clipping).
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() { restore(); }
    SelectedObject(SelectedObject&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when the selection failed (nothing to restore then).
    bool selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
    // Selects the previous object back now rather than at the end of the scope.
    void restore() {
        if (dc_ != nullptr && selected()) {
            SelectObject(dc_, previous_);
        }
        dc_ = nullptr;
        previous_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The device context of a window (null: the screen) from GetDC, released at the end.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { release(); }
    WindowDC(WindowDC&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& other) noexcept {
        if (this != &other) {
            release();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    void release() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
        dc_ = nullptr;
    }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint/EndPaint for WM_PAINT. Always pairs the two, even when painting itself fails, so that the
// update region is validated and the window does not repaint forever.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc_; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};
