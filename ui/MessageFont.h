#pragma once

#include <windows.h>

// The system's message font (the stock GUI font's face when the system's metrics can't be read), made
// with the given character height in pixels (0 keeps the system's own height), underlined or not. The
// caller owns the font.
HFONT createMessageFont(int pixelHeight, bool underline);
