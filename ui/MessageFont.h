#pragma once

#include <windows.h>

// The system's message font as it is at dpi (see messageFontForDpi), made with the given character height
// in pixels (0 keeps the system's own height at that dpi), underlined or not. The caller owns the font.
HFONT createMessageFont(UINT dpi, int pixelHeight, bool underline);
