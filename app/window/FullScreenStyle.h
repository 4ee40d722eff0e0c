#pragma once

#include <windows.h>

// Full screen drops the caption and the sizing frame; the windowed style gets them back.
constexpr LONG_PTR kFrameStyleBits = WS_CAPTION | WS_THICKFRAME;  // 0x00C40000

constexpr LONG_PTR fullScreenStyle(LONG_PTR style) {
    return style & ~kFrameStyleBits;
}
constexpr LONG_PTR windowedStyle(LONG_PTR style) {
    return style | kFrameStyleBits;
}
