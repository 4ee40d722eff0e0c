#include "ui/DpiMath.h"

#include <cstdint>

namespace dpimath {

int scale(int value, UINT dpi) {
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

int pictureScaleFor(UINT dpi) {
    for (int percent : kPictureScales) {
        // dpi / 96 <= percent / 100, without rounding.
        if (static_cast<std::int64_t>(dpi) * 100 <= static_cast<std::int64_t>(percent) * kBaseDpi) {
            return percent;
        }
    }
    return kPictureScales[sizeof(kPictureScales) / sizeof(kPictureScales[0]) - 1];
}

int baseSizeOf(int pixels, int percent) {
    // Of the sizes that round to `pixels` at a scale above 100 %, exactly one is whole: the nearest.
    return percent > 0 ? (pixels * 100 + percent / 2) / percent : pixels;
}

std::wstring pictureType(int percent) {
    return percent == 100 ? std::wstring(L"PNG") : L"PNG_" + std::to_wstring(percent);
}

}  // namespace dpimath
