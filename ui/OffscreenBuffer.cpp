#include "ui/OffscreenBuffer.h"

OffscreenBuffer OffscreenBuffer::create(HDC reference, int width, int height) {
    OffscreenBuffer buffer;
    if (width <= 0 || height <= 0) {
        return buffer;
    }
    HDC dc = CreateCompatibleDC(reference);
    if (dc == nullptr) {
        return buffer;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(4 * width) * static_cast<DWORD>(height);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(dc);
        return buffer;
    }
    buffer.dc_ = dc;
    buffer.bitmap_ = bitmap;
    buffer.previous_ = SelectObject(dc, bitmap);
    buffer.width_ = width;
    buffer.height_ = height;
    return buffer;
}

void OffscreenBuffer::reset() {
    if (dc_ != nullptr && previous_ != nullptr && previous_ != HGDI_ERROR) {
        SelectObject(dc_, previous_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    width_ = 0;
    height_ = 0;
}
