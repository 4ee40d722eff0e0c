#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

namespace Gdiplus {
class Image;
}
namespace skinpicture {
struct Source;
}

// The small window library the player's windows share: the hyperlink window class, the link tables,
// a memory device context for measuring text, the PNG skin loader and two geometry helpers.

void initWindowLibrary(HINSTANCE instance);
void shutdownWindowLibrary(HINSTANCE instance);

// The memory device context used to measure text (never drawn on); null before initWindowLibrary.
HDC measuringDC();
// Text colour and target address of each hyperlink window, keyed by its handle.
std::map<HWND, COLORREF>& linkColorMap();
std::map<HWND, std::wstring>& linkUrlMap();

// Decodes a located resource of type "PNG" into an image the caller owns; null on any failure.
// A picture that fails to decode still gives an image, whose width and height read 0. The picture is
// decoded completely before the loader returns, so the image needs nothing of the resource afterwards.
// Include "ui/Gdiplus.h" to use or delete it, and "ui/SkinImage.h" for null-safe sizes and drawing.
Gdiplus::Image* loadPngResource(HMODULE module, HRSRC resource);
// Locates the "PNG" resource and loads it; null when it is missing.
std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const wchar_t* name);
// The skin picture for a screen of dpi, from the source skinpicture::findSource chooses: the one drawn for
// that scale, or else another scale's made smaller (or, when no larger scale has a good picture, larger)
// with high quality to what the scale asks. Only that one picture is decoded. Null when none is there.
std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const wchar_t* name, UINT dpi);
// The source's picture decoded and drawn at its size for dpi (as above, once the source is chosen).
std::unique_ptr<Gdiplus::Image> loadSkinImage(HINSTANCE instance, const skinpicture::Source& source,
                                              UINT dpi);

// Centres the window over its parent, or over the work area when it has none.
void centerWindow(HWND window);
// Resizes the window so that its client area is width x height, keeping its position and frame.
void setClientSize(HWND window, int width, int height);
// Destroys the window when it still exists, and forgets it.
void destroyIfWindow(HWND& window);
