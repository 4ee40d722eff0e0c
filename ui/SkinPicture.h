#pragma once

#include <windows.h>

#include <memory>

#include "ui/Gdiplus.h"

namespace skinpicture {
// Where the skin picture for a screen of some DPI comes from: the picture stored for one scale.
struct Source {
    HRSRC resource = nullptr;
    int percent = 0;  // the scale it was drawn for
    SIZE stored{};    // its size as stored, from its header
};
// The picture to draw on a screen of dpi: the one drawn for the dpi's scale, else the next larger scale's.
// A scale whose picture is missing or whose header doesn't read is passed over for the next larger scale
// with a good picture, and when no larger scale has one, for the nearest smaller one (a button drawn larger
// than it was made is better than none). False when no scale has a good picture.
bool findSource(HINSTANCE instance, const wchar_t* name, UINT dpi, Source& source);
// The size the source's picture is drawn at on a screen of dpi.
SIZE drawnSize(const Source& source, UINT dpi);
// Width and height from the header of the PNG file in bytes; false when it is no PNG file.
bool pngSize(const void* bytes, DWORD length, SIZE& size);
}  // namespace skinpicture

// A skin picture whose size is known before its pixels: the size comes from the PNG's header, and the
// picture is decoded when it is first drawn. The bar's buttons that a start doesn't show (Pause, Stop,
// Leave Full Screen) are laid out by their size all the same and decoded only when they first show.
class SkinPicture {
public:
    SkinPicture() = default;
    // The picture loadSkinImage(instance, name, dpi) gives, from the same source, not decoded yet. Empty
    // when no scale has a good picture of that name.
    static SkinPicture find(HINSTANCE instance, const wchar_t* name, UINT dpi);

    bool empty() const { return decoded_ && !image_; }
    int width() const { return size_.cx; }
    int height() const { return size_.cy; }
    // The decoded picture, decoded by the first call; null when there is none. A picture whose pixels
    // don't decode keeps its size and draws nothing.
    Gdiplus::Image* image();

private:
    HINSTANCE instance_ = nullptr;
    skinpicture::Source source_;
    UINT dpi_ = 96;
    SIZE size_{};
    bool decoded_ = true;
    std::unique_ptr<Gdiplus::Image> image_;
};
