#pragma once

#include <windows.h>

#include <functional>

#include "ui/Gdiplus.h"
#include "ui/OffscreenBuffer.h"

// Null-safe size queries and drawing for skin images. A missing picture (null) and one that failed to
// decode (0 x 0) are both "nothing to draw": the helpers skip them, so no layout ever divides by a zero
// width or draws a broken image.

// Natural width and height in pixels; 0 for a null or undecoded image.
int imageWidth(Gdiplus::Image* image);
int imageHeight(Gdiplus::Image* image);
// True when the image has a picture to draw.
bool hasPicture(Gdiplus::Image* image);

// Draws the image at its natural size with its top left corner at (x, y), blended by its alpha.
// False (and nothing drawn) for an image without a picture.
bool drawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y);
// Draws the image at its natural size as drawImage does, but grey and faded: the look of a button that
// can't be used now. False (and nothing drawn) for an image without a picture.
bool drawImageDimmed(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y);
// Draws the image stretched into the rectangle; nothing for an image without a picture or an empty rectangle.
bool drawImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width, int height);

// What draw paints on a transparent canvas of width x height, kept in a buffer with its pixels
// premultiplied by their alpha. Empty for an empty size, or when draw answers false.
OffscreenBuffer prerender(int width, int height, const std::function<bool(Gdiplus::Graphics&)>& draw);
// The image drawn at width x height (squeezed or stretched as drawImage does), prerendered. Empty for an
// image without a picture or an empty size.
OffscreenBuffer prerenderImage(Gdiplus::Image* image, int width, int height);
// Blends the whole buffer by its alpha onto dc with its top left corner at (x, y): the pixels that drawing
// the image there gives, at the cost of a blit. False (and nothing drawn) for an empty buffer.
bool blendBuffer(HDC dc, const OffscreenBuffer& buffer, int x, int y);
