#include "ui/SystemDpi.h"

#include <cstddef>

#include "ui/DpiMath.h"
#include "ui/GdiGuards.h"
#include "ui/SystemLibrary.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
// DDC_DISABLE_ALL, DDC_DISABLE_RESIZE and DDC_DISABLE_CONTROL_RELAYOUT (Windows 10, 1703 and later).
constexpr int kDialogKeepsEverything = 0x0001 | 0x0002 | 0x0004;

template <typename Function>
Function user32Function(const char* name) {
    return systemFunction<Function>(L"user32.dll", name);
}

// value as the system gives it at its own DPI, at dpi instead.
int fromSystemDpi(int value, UINT dpi) {
    const UINT system = systemDpi();
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(system != 0 ? system : dpimath::kBaseDpi));
}

}  // namespace

UINT systemDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : dpimath::kBaseDpi;
}

UINT windowDpi(HWND window) {
    static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = forWindow != nullptr && window != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : systemDpi();
}

int systemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return forDpi != nullptr ? forDpi(index, dpi) : fromSystemDpi(GetSystemMetrics(index), dpi);
}

IconHandle loadIconForDpi(HINSTANCE instance, const wchar_t* name, int metric, UINT dpi) {
    const int size = systemMetricForDpi(metric, dpi);
    return IconHandle(static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0)));
}

void keepDialogLayoutOnDpiChange(HWND dialog) {
    static const auto behaviour =
        user32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    if (behaviour != nullptr && dialog != nullptr) {
        behaviour(dialog, kDialogKeepsEverything, kDialogKeepsEverything);
    }
}

namespace {

// One of the fonts of the system's non-client metrics, as it is at dpi.
LOGFONTW nonClientFontForDpi(LOGFONTW NONCLIENTMETRICSW::*which, UINT dpi) {
    static const auto forDpi =
        user32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
        return metrics.*which;
    }
    // The size without the padded border, which every system version accepts.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        font = metrics.*which;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    font.lfHeight = fromSystemDpi(font.lfHeight, dpi);
    return font;
}

}  // namespace

LOGFONTW messageFontForDpi(UINT dpi) {
    return nonClientFontForDpi(&NONCLIENTMETRICSW::lfMessageFont, dpi);
}

LOGFONTW statusFontForDpi(UINT dpi) {
    return nonClientFontForDpi(&NONCLIENTMETRICSW::lfStatusFont, dpi);
}
