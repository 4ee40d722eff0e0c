#include "ui/SkinImage.h"

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

bool tileImageHorizontally(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width) {
    const int tileWidth = imageWidth(image);
    const int tileHeight = imageHeight(image);
    if (tileWidth <= 0 || tileHeight <= 0 || width <= 0) {
        return false;
    }
    const int right = x + width;
    bool drawn = true;
    for (int left = x; left < right; left += tileWidth) {
        const int visible = std::min(tileWidth, right - left);
        // The source rectangle is cut, not squeezed, where the last tile passes the right edge.
        Gdiplus::Rect target(left, y, visible, tileHeight);
        drawn =
            graphics.DrawImage(image, target, 0, 0, visible, tileHeight, Gdiplus::UnitPixel) == Gdiplus::Ok &&
            drawn;
    }
    return drawn;
}
