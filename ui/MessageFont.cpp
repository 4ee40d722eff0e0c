#include "ui/MessageFont.h"

#include "ui/SystemDpi.h"

HFONT createMessageFont(UINT dpi, int pixelHeight, bool underline) {
    LOGFONTW font = messageFontForDpi(dpi);
    if (pixelHeight > 0) {
        font.lfHeight = -pixelHeight;  // negative: the characters' height, without the internal leading
    }
    font.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectW(&font);
}
