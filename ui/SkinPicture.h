#pragma once

#include <windows.h>

#include <memory>

#include "ui/Gdiplus.h"

// A skin picture whose size is known before its pixels: the size comes from the PNG's header, and the
// picture is decoded when it is first drawn. The bar's buttons that a start doesn't show (Pause, Stop,
// Leave Full Screen) are laid out by their size all the same and decoded only when they first show.
class SkinPicture {
public:
    SkinPicture() = default;
    // The picture loadSkinImage(instance, name, dpi) gives, not decoded yet; decoded at once when its
    // header can't be read. Empty when there is no such picture. The name is a literal or an integer
    // resource name: it is kept, not copied.
    static SkinPicture find(HINSTANCE instance, const wchar_t* name, UINT dpi);

    bool empty() const { return decoded_ && !image_; }
    int width() const { return size_.cx; }
    int height() const { return size_.cy; }
    // The decoded picture, decoded by the first call; null when there is none.
    Gdiplus::Image* image();

private:
    HINSTANCE instance_ = nullptr;
    const wchar_t* name_ = nullptr;
    UINT dpi_ = 96;
    SIZE size_{};
    bool decoded_ = true;
    std::unique_ptr<Gdiplus::Image> image_;
};

namespace skinpicture {
// Width and height from the header of the PNG file in bytes; false when it is no PNG file.
bool pngSize(const void* bytes, DWORD length, SIZE& size);
}  // namespace skinpicture
