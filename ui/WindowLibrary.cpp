#include "ui/WindowLibrary.h"

#include "ui/Gdiplus.h"
#include "ui/GdiGuards.h"
#include "ui/SkinImage.h"
#include "ui/SkinPicture.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

const wchar_t kHyperlinkClass[] = L"HYPERLINK";

struct LibraryState {
    HINSTANCE instance = nullptr;
    HDC measuringDC = nullptr;
    std::map<HWND, COLORREF> linkColors;
    std::map<HWND, std::wstring> linkUrls;
};

LibraryState& state() {
    static LibraryState library;
    return library;
}

// A movable global memory block, freed at the end.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalBlock() {
        if (block_ != nullptr) {
            GlobalFree(block_);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL get() const { return block_; }

private:
    HGLOBAL block_;
};

// A lock on a movable block; the block must stay locked only while its bytes are written.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), bytes_(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (bytes_ != nullptr) {
            GlobalUnlock(block_);
        }
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};

// A COM stream over a global block that it does not own.
class StreamOnBlock {
public:
    explicit StreamOnBlock(HGLOBAL block) {
        if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream_))) {
            stream_ = nullptr;
        }
    }
    ~StreamOnBlock() {
        if (stream_ != nullptr) {
            stream_->Release();
        }
    }
    StreamOnBlock(const StreamOnBlock&) = delete;
    StreamOnBlock& operator=(const StreamOnBlock&) = delete;

    IStream* get() const { return stream_; }

private:
    IStream* stream_ = nullptr;
};

// GDI+ objects live in GDI+'s own memory, and its operator new answers null while GDI+ is not running
// (it failed to start): a plain new-expression would then build the object on null. Without GDI+ there
// are simply no pictures, which every skin rule allows for.
template <typename Object, typename... Arguments>
Object* newGdiplusObject(Arguments&&... arguments) {
    void* memory = Gdiplus::GdiplusBase::operator new(sizeof(Object));
    return memory != nullptr ? ::new (memory) Object(std::forward<Arguments>(arguments)...) : nullptr;
}

// GDI+ may decode a picture from its stream lazily, long after the stream and its block are gone. Copying
// the pixels into a bitmap of our own forces the decoding now and leaves nothing pointing at the block.
Gdiplus::Bitmap* copyDecodedPixels(Gdiplus::Bitmap& source) {
    const UINT width = source.GetWidth();
    const UINT height = source.GetHeight();
    auto* copy = newGdiplusObject<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                   PixelFormat32bppARGB);
    if (copy == nullptr) {
        return nullptr;
    }
    if (copy->GetLastStatus() != Gdiplus::Ok) {
        delete copy;
        return nullptr;
    }
    Gdiplus::Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData from{};
    Gdiplus::BitmapData to{};
    bool copied = false;
    if (source.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) == Gdiplus::Ok) {
        if (copy->LockBits(&area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to) == Gdiplus::Ok) {
            for (UINT row = 0; row < height; ++row) {
                std::memcpy(static_cast<BYTE*>(to.Scan0) + static_cast<INT_PTR>(to.Stride) * row,
                            static_cast<const BYTE*>(from.Scan0) + static_cast<INT_PTR>(from.Stride) * row,
                            static_cast<size_t>(width) * 4);
            }
            copy->UnlockBits(&to);
            copied = true;
        }
        source.UnlockBits(&from);
    }
    if (!copied) {
        delete copy;
        return nullptr;
    }
    return copy;
}

// Decodes the picture in the stream. A picture that does not decode still gives an image object (a
// failed one, whose width and height read 0), so callers can tell "present but broken" from "absent".
Gdiplus::Image* decodeStream(IStream* stream) {
    auto* decoded = newGdiplusObject<Gdiplus::Bitmap>(stream);
    if (decoded == nullptr) {
        return nullptr;
    }
    if (decoded->GetLastStatus() != Gdiplus::Ok || decoded->GetWidth() == 0 || decoded->GetHeight() == 0) {
        return decoded;
    }
    Gdiplus::Bitmap* copy = copyDecodedPixels(*decoded);
    delete decoded;
    return copy;
}

// The picture at width x height, drawn with high-quality filtering; null when that fails.
Gdiplus::Image* resized(Gdiplus::Image& source, int width, int height) {
    auto* copy = newGdiplusObject<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    if (copy == nullptr) {
        return nullptr;
    }
    bool drawn = false;
    if (copy->GetLastStatus() == Gdiplus::Ok) {
        Gdiplus::Graphics graphics(copy);
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        // Mirrored beyond its edges, so the filter doesn't blend the border pixels with transparency.
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        drawn = graphics.DrawImage(&source, Gdiplus::Rect(0, 0, width, height), 0, 0,
                                   static_cast<INT>(source.GetWidth()), static_cast<INT>(source.GetHeight()),
                                   Gdiplus::UnitPixel, &edges) == Gdiplus::Ok;
    }
    if (!drawn) {
        delete copy;
        return nullptr;
    }
    return copy;
}

}  // namespace

void initWindowLibrary(HINSTANCE instance) {
    LibraryState& library = state();
    library.instance = instance;

    if (library.measuringDC == nullptr) {
        WindowDC screen(nullptr);
        library.measuringDC = CreateCompatibleDC(screen.get());
    }

    // A hyperlink window is a static text control with the hand cursor: same window procedure, styles and
    // extra bytes, only the name and the cursor differ.
    WNDCLASSEXW linkClass{};
    linkClass.cbSize = sizeof(linkClass);
    if (GetClassInfoExW(instance, L"STATIC", &linkClass)) {
        linkClass.cbSize = sizeof(linkClass);
        linkClass.hInstance = instance;
        linkClass.lpszClassName = kHyperlinkClass;
        linkClass.hCursor = LoadCursorW(nullptr, IDC_HAND);
        RegisterClassExW(&linkClass);
    }
}

void shutdownWindowLibrary(HINSTANCE instance) {
    LibraryState& library = state();
    UnregisterClassW(kHyperlinkClass, instance);
    if (library.measuringDC != nullptr) {
        DeleteDC(library.measuringDC);
        library.measuringDC = nullptr;
    }
    library.linkColors.clear();
    library.linkUrls.clear();
}

HDC measuringDC() {
    return state().measuringDC;
}

std::map<HWND, COLORREF>& linkColorMap() {
    return state().linkColors;
}

std::map<HWND, std::wstring>& linkUrlMap() {
    return state().linkUrls;
}

Gdiplus::Image* loadPngResource(HMODULE module, HRSRC resource) {
    if (resource == nullptr) {
        return nullptr;
    }
    const DWORD size = SizeofResource(module, resource);
    if (size == 0) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return nullptr;
    }

    GlobalBlock block(size);
    if (block.get() == nullptr) {
        return nullptr;
    }
    Gdiplus::Image* image = nullptr;
    {
        GlobalLockGuard lock(block.get());
        if (lock.bytes() == nullptr) {
            return nullptr;
        }
        std::memcpy(lock.bytes(), bytes, size);
        StreamOnBlock stream(block.get());
        if (stream.get() != nullptr) {
            image = decodeStream(stream.get());
        }
    }
    return image;
}

namespace {

std::unique_ptr<Gdiplus::Image> loadPicture(HINSTANCE instance, const wchar_t* name, const wchar_t* type) {
    HRSRC resource = FindResourceW(instance, name, type);
    if (resource == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<Gdiplus::Image>(loadPngResource(instance, resource));
}

}  // namespace

std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const wchar_t* name) {
    return loadPicture(instance, name, L"PNG");
}

std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const wchar_t* name, UINT dpi) {
    skinpicture::Source source;
    return skinpicture::findSource(instance, name, dpi, source) ? loadSkinImage(instance, source, dpi)
                                                                : nullptr;
}

std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const skinpicture::Source& source,
                                              UINT dpi) {
    std::unique_ptr<Gdiplus::Image> image(loadPngResource(instance, source.resource));
    const SIZE size = skinpicture::drawnSize(source, dpi);
    if (!hasPicture(image.get()) ||
        (size.cx == imageWidth(image.get()) && size.cy == imageHeight(image.get()))) {
        return image;
    }
    // Should that fail, the picture of the other scale is still better than none.
    Gdiplus::Image* scaled = resized(*image, size.cx, size.cy);
    return scaled != nullptr ? std::unique_ptr<Gdiplus::Image>(scaled) : std::move(image);
}

void centerWindow(HWND window) {
    if (!IsWindow(window)) {
        return;
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    HWND parent = GetParent(window);
    RECT reference{};
    if (parent != nullptr && IsWindow(parent)) {
        GetWindowRect(parent, &reference);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &reference, 0);
    }

    // Kept inside the reference rectangle's own edges, so that a parent away from the screen's origin or
    // a work area below a top task bar is respected; a window larger than the reference keeps its top
    // left corner visible.
    int x = (reference.left + reference.right - width) / 2;
    int y = (reference.top + reference.bottom - height) / 2;
    if (x + width > reference.right) {
        x = reference.right - width;
    }
    if (y + height > reference.bottom) {
        y = reference.bottom - height;
    }
    if (x < reference.left) {
        x = reference.left;
    }
    if (y < reference.top) {
        y = reference.top;
    }

    // A child window is positioned in its parent's client coordinates, not the screen's.
    POINT origin{x, y};
    if (parent != nullptr && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        ScreenToClient(parent, &origin);
    }
    SetWindowPos(window, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void setClientSize(HWND window, int width, int height) {
    RECT frame{};
    RECT client{};
    if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) {
        return;
    }
    const int outerWidth = (frame.right - frame.left) + (width - client.right);
    const int outerHeight = (frame.bottom - frame.top) + (height - client.bottom);
    SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void destroyIfWindow(HWND& window) {
    if (window != nullptr && IsWindow(window)) {
        DestroyWindow(window);
    }
    window = nullptr;
}
