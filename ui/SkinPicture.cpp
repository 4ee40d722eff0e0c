#include "ui/SkinPicture.h"

#include <cstring>

#include "ui/DpiScale.h"
#include "ui/SkinImage.h"
#include "ui/WindowLibrary.h"

namespace {

// The signature, then the first chunk, which is always the header: length, "IHDR", width, height.
constexpr BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr DWORD kHeaderEnd = 24;

LONG bigEndian(const BYTE* bytes) {
    const DWORD value = (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | bytes[3];
    return value <= 0x7FFFFFFF ? static_cast<LONG>(value) : -1;
}

// The size of the resource's picture; false when the resource is missing or no PNG file.
bool resourceSize(HINSTANCE instance, HRSRC resource, SIZE& size) {
    HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    return bytes != nullptr && skinpicture::pngSize(bytes, SizeofResource(instance, resource), size);
}

}  // namespace

bool skinpicture::pngSize(const void* bytes, DWORD length, SIZE& size) {
    const BYTE* file = static_cast<const BYTE*>(bytes);
    if (file == nullptr || length < kHeaderEnd || std::memcmp(file, kSignature, sizeof(kSignature)) != 0 ||
        std::memcmp(file + 12, "IHDR", 4) != 0) {
        return false;
    }
    const LONG width = bigEndian(file + 16);
    const LONG height = bigEndian(file + 20);
    if (width <= 0 || height <= 0) {
        return false;
    }
    size = SIZE{width, height};
    return true;
}

SkinPicture SkinPicture::find(HINSTANCE instance, const wchar_t* name, UINT dpi) {
    SkinPicture picture;
    picture.instance_ = instance;
    picture.name_ = name;
    picture.dpi_ = dpi;
    // The scale loadSkinImage takes: the picture drawn for the dpi's scale, else the next larger one.
    const int wanted = dpiscale::pictureScaleFor(dpi);
    for (int percent : dpiscale::kPictureScales) {
        if (percent < wanted) {
            continue;
        }
        HRSRC resource = FindResourceW(instance, name, dpiscale::pictureType(percent).c_str());
        if (resource == nullptr) {
            continue;
        }
        SIZE drawn{};
        if (!resourceSize(instance, resource, drawn)) {
            break;
        }
        // As loadSkinImage makes it smaller for the dpi.
        picture.size_ = SIZE{dpiscale::scale(dpiscale::baseSizeOf(drawn.cx, percent), dpi),
                             dpiscale::scale(dpiscale::baseSizeOf(drawn.cy, percent), dpi)};
        picture.decoded_ = false;
        return picture;
    }
    picture.image();
    return picture;
}

Gdiplus::Image* SkinPicture::image() {
    if (!decoded_) {
        decoded_ = true;
        image_ = loadSkinImage(instance_, name_, dpi_);
    }
    if (image_ && (size_.cx == 0 || size_.cy == 0)) {
        size_ = SIZE{imageWidth(image_.get()), imageHeight(image_.get())};
    }
    return image_.get();
}
