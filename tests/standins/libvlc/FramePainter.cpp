#include "FramePainter.h"

#include <cwchar>

#include "tests/common/DibCanvas.h"

namespace standin {
namespace {

constexpr COLORREF kBars[] = {RGB(192, 192, 192), RGB(192, 192, 0), RGB(0, 192, 192), RGB(0, 192, 0),
                              RGB(192, 0, 192),   RGB(192, 0, 0),   RGB(0, 0, 192)};
constexpr int kBarCount = sizeof(kBars) / sizeof(kBars[0]);

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush.get());
}

void drawBars(HDC dc, int width, int height, std::int64_t timeMs) {
    // One full slide across the picture every four seconds.
    const int shift = static_cast<int>((timeMs % 4000) * width / 4000);
    for (int i = 0; i < kBarCount; ++i) {
        int left = (i * width / kBarCount + shift) % width;
        int right = left + (width + kBarCount - 1) / kBarCount;
        fill(dc, left, 0, right, height, kBars[i]);
        if (right > width) {
            fill(dc, 0, 0, right - width, height, kBars[i]);
        }
    }
}

// White text on a black box; centred, or at the top left with `centred` false.
void drawLabel(HDC dc, int width, int height, const std::wstring& text, bool centred) {
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    const int length = static_cast<int>(text.size());
    GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    const int left = centred ? (width - extent.cx) / 2 : 8;
    const int top = centred ? (height - extent.cy) / 2 : 6;
    fill(dc, left - 6, top - 4, left + extent.cx + 6, top + extent.cy + 4, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, left, top, text.c_str(), length);
}

void drawTime(HDC dc, int width, int height, std::int64_t timeMs, std::int64_t lengthMs) {
    wchar_t text[64];
    formatFrameTime(timeMs, lengthMs, text, 64);
    drawLabel(dc, width, height, text, true);
}

}  // namespace

void formatFrameTime(std::int64_t timeMs, std::int64_t lengthMs, wchar_t* out, int capacity) {
    const long long t = timeMs < 0 ? 0 : timeMs;
    const long long l = lengthMs < 0 ? 0 : lengthMs;
    std::swprintf(out, static_cast<size_t>(capacity), L"%lld:%02lld.%lld / %lld:%02lld.%lld", t / 60000,
                  t / 1000 % 60, t / 100 % 10, l / 60000, l / 1000 % 60, l / 100 % 10);
}

void paintFrame(HWND window, std::int64_t timeMs, std::int64_t lengthMs, const std::wstring& onScreenText) {
    RECT client{};
    if (window == nullptr || !IsWindow(window) || !GetClientRect(window, &client)) {
        return;
    }
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    WindowDC screen(window);
    if (screen.get() == nullptr) {
        return;
    }
    // Composed off-screen and copied in one go, so the picture doesn't flicker.
    MemoryDC canvas(screen.get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (canvas.get() == nullptr || bitmap.get() == nullptr) {
        return;
    }
    {
        SelectedObject selected(canvas.get(), bitmap.get());
        drawBars(canvas.get(), width, height, timeMs);
        drawTime(canvas.get(), width, height, timeMs, lengthMs);
        if (!onScreenText.empty()) {
            drawLabel(canvas.get(), width, height, onScreenText, false);
        }
        BitBlt(screen.get(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace standin
