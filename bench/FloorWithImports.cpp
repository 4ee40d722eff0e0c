// The floor of the player's design, the one its start-up is measured against: the bare floor window
// (FloorWindow.cpp) with what the player can't start without. It imports the player's libraries (linked
// the same way, and libads.dll beside it), carries the player's resources with the manifest that asks for
// the version 6 common controls, initialises them, starts GDI+ and decodes one PNG, the video window's
// picture, as the player's first picture is. Its window has the player's class name and first client size
// and the same 260 ms timer, whose tick does nothing.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>

#include <memory>

#include <gdiplus.h>

#include "bench/FloorWindow.h"
#include "libads/libads.h"
#include "resources/resource.h"

namespace {

// The picture decoded into pixels of its own, as the player's skin loader does; null on any failure.
std::unique_ptr<Gdiplus::Bitmap> decodePicture(HINSTANCE instance, int id) {
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), L"PNG");
    const DWORD size = resource != nullptr ? SizeofResource(instance, resource) : 0;
    HGLOBAL loaded = size != 0 ? LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    HGLOBAL block = bytes != nullptr ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    if (block == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> picture;
    if (void* copy = GlobalLock(block)) {
        CopyMemory(copy, bytes, size);
        IStream* stream = nullptr;
        if (SUCCEEDED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
            Gdiplus::Bitmap decoded(stream);
            const Gdiplus::Rect area(0, 0, static_cast<INT>(decoded.GetWidth()),
                                     static_cast<INT>(decoded.GetHeight()));
            picture = std::make_unique<Gdiplus::Bitmap>(area.Width, area.Height, PixelFormat32bppARGB);
            Gdiplus::BitmapData from{};
            Gdiplus::BitmapData to{};
            if (decoded.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) ==
                Gdiplus::Ok) {
                if (picture->LockBits(&area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to) ==
                    Gdiplus::Ok) {
                    for (INT row = 0; row < area.Height; ++row) {
                        CopyMemory(static_cast<BYTE*>(to.Scan0) + to.Stride * row,
                                   static_cast<const BYTE*>(from.Scan0) + from.Stride * row, area.Width * 4);
                    }
                    picture->UnlockBits(&to);
                }
                decoded.UnlockBits(&from);
            }
            stream->Release();
        }
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return picture;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Never called: the imports alone make the loader map the libraries the player imports.
    volatile auto adsEntry = &libads_show;
    volatile auto registryEntry = &RegCloseKey;
    (void)adsEntry;
    (void)registryEntry;

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);

    HWND window = floorwindow::create(instance);
    if (window == nullptr) {
        return 1;
    }
    std::unique_ptr<Gdiplus::Bitmap> picture = decodePicture(instance, IDB_LOGO);
    floorwindow::showAndRun(window, showCommand);
    picture.reset();  // before GDI+ ends
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
