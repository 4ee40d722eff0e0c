#include "ui/SkinImage.h"

#include <cstring>

int imageWidth(Gdiplus::Image* image) {
    return image != nullptr ? static_cast<int>(image->GetWidth()) : 0;
}

int imageHeight(Gdiplus::Image* image) {
    return image != nullptr ? static_cast<int>(image->GetHeight()) : 0;
}

bool hasPicture(Gdiplus::Image* image) {
    return imageWidth(image) > 0 && imageHeight(image) > 0;
}

bool drawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y) {
    return drawImage(graphics, image, x, y, imageWidth(image), imageHeight(image));
}

bool drawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width, int height) {
    if (!hasPicture(image) || width <= 0 || height <= 0) {
        return false;
    }
    // The explicit size keeps the resolution stored in the file out of the layout.
    return graphics.DrawImage(image, x, y, width, height) == Gdiplus::Ok;
}

bool drawImageDimmed(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y) {
    if (!hasPicture(image)) {
        return false;
    }
    // Each colour becomes its grey (by the eye's weights for red, green and blue) at 40 % of its cover.
    constexpr Gdiplus::REAL r = 0.299f, g = 0.587f, b = 0.114f, fade = 0.4f;
    Gdiplus::ColorMatrix dimmed = {
        {{r, r, r, 0, 0}, {g, g, g, 0, 0}, {b, b, b, 0, 0}, {0, 0, 0, fade, 0}, {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&dimmed);
    const int width = imageWidth(image);
    const int height = imageHeight(image);
    return graphics.DrawImage(image, Gdiplus::Rect(x, y, width, height), 0, 0, width, height,
                              Gdiplus::UnitPixel, &attributes) == Gdiplus::Ok;
}

OffscreenBuffer prerender(int width, int height, const std::function<bool(Gdiplus::Graphics&)>& draw) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    Gdiplus::Bitmap drawn(width, height, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics graphics(&drawn);
        // What is drawn replaces the transparent canvas instead of being blended with it.
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        if (!draw(graphics)) {
            return {};
        }
    }
    OffscreenBuffer buffer = OffscreenBuffer::create(nullptr, width, height);
    DIBSECTION section{};
    if (buffer.empty() || GetObjectW(buffer.bitmap(), sizeof(section), &section) != sizeof(section) ||
        section.dsBm.bmBits == nullptr) {
        return {};
    }
    Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData pixels{};
    if (drawn.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &pixels) != Gdiplus::Ok) {
        return {};
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        // The buffer's rows run bottom-up.
        std::memcpy(
            static_cast<BYTE*>(section.dsBm.bmBits) + rowBytes * static_cast<size_t>(height - 1 - row),
            static_cast<const BYTE*>(pixels.Scan0) + static_cast<INT_PTR>(pixels.Stride) * row, rowBytes);
    }
    drawn.UnlockBits(&pixels);
    return buffer;
}

OffscreenBuffer prerenderImage(Gdiplus::Image* image, int width, int height) {
    if (!hasPicture(image)) {
        return {};
    }
    return prerender(width, height, [&](Gdiplus::Graphics& graphics) {
        return drawImage(graphics, image, 0, 0, width, height);
    });
}

bool blendBuffer(HDC dc, const OffscreenBuffer& buffer, int x, int y) {
    if (dc == nullptr || buffer.empty()) {
        return false;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return GdiAlphaBlend(dc, x, y, buffer.width(), buffer.height(), buffer.dc(), 0, 0, buffer.width(),
                         buffer.height(), blend) != FALSE;
}
