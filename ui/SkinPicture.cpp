#include "ui/SkinPicture.h"

#include <cstring>
#include <iterator>

#include "ui/DpiMath.h"
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

bool skinpicture::findSource(HINSTANCE instance, const wchar_t* name, UINT dpi, Source& source) {
    auto take = [&](int percent) {
        HRSRC resource = FindResourceW(instance, name, dpimath::pictureType(percent).c_str());
        SIZE stored{};
        if (!resourceSize(instance, resource, stored)) {
            return false;
        }
        source = Source{resource, percent, stored};
        return true;
    };
    const int wanted = dpimath::pictureScaleFor(dpi);
    for (int percent : dpimath::kPictureScales) {
        if (percent >= wanted && take(percent)) {
            return true;
        }
    }
    for (auto percent = std::rbegin(dpimath::kPictureScales); percent != std::rend(dpimath::kPictureScales);
         ++percent) {
        if (*percent < wanted && take(*percent)) {
            return true;
        }
    }
    return false;
}

SIZE skinpicture::drawnSize(const Source& source, UINT dpi) {
    return SIZE{dpimath::scale(dpimath::baseSizeOf(source.stored.cx, source.percent), dpi),
                dpimath::scale(dpimath::baseSizeOf(source.stored.cy, source.percent), dpi)};
}

SkinPicture SkinPicture::find(HINSTANCE instance, const wchar_t* name, UINT dpi) {
    SkinPicture picture;
    if (skinpicture::findSource(instance, name, dpi, picture.source_)) {
        picture.instance_ = instance;
        picture.dpi_ = dpi;
        picture.size_ = skinpicture::drawnSize(picture.source_, dpi);
        picture.decoded_ = false;
    }
    return picture;
}

Gdiplus::Image* SkinPicture::image() {
    if (!decoded_) {
        decoded_ = true;
        image_ = loadSkinImage(instance_, source_, dpi_);
    }
    return image_.get();
}
