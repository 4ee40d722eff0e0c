#include "ui/MessageFont.h"

#include <cstddef>

HFONT createMessageFont(int pixelHeight, bool underline) {
    NONCLIENTMETRICSW metrics{};
    // The record without its last member, the padded border width that Windows Vista added: every
    // version accepts that size, where the versions before Vista refuse the full one.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    if (pixelHeight > 0) {
        font.lfHeight = -pixelHeight;  // negative: the characters' height, without the internal leading
    }
    font.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectW(&font);
}
