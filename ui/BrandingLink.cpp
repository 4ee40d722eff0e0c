#include "ui/BrandingLink.h"

#include <shellapi.h>

#include <optional>

#include "ui/GdiGuards.h"
#include "ui/WindowLibrary.h"
#include "ui/SystemLibrary.h"

namespace brandinglink {

const wchar_t kLinkText[] = L"Powered by Corvanta";
const wchar_t kMakerAddress[] = L"https://www.corvanta.com/";

}  // namespace brandinglink

namespace {

HFONT fontOrDefault(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The extent of the link text in the font, measured on the window library's memory device context
// (the screen's when the library isn't started, so a label still gets a size).
SIZE measureLinkText(HFONT font) {
    SIZE size{};
    HDC dc = measuringDC();
    std::optional<WindowDC> screen;
    if (dc == nullptr) {
        dc = screen.emplace(nullptr).get();
    }
    if (dc == nullptr) {
        return size;
    }
    SelectedObject selected(dc, font);
    GetTextExtentPoint32W(dc, brandinglink::kLinkText, lstrlenW(brandinglink::kLinkText), &size);
    return size;
}

}  // namespace

HWND createBrandingLink(HFONT font, HWND parent) {
    font = fontOrDefault(font);
    const SIZE size = measureLinkText(font);
    HWND label = createLinkWindow(size.cx, size.cy, parent, 0, 0, font);
    if (label != nullptr) {
        linkUrlMap()[label] = brandinglink::kMakerAddress;
    }
    return label;
}

void setLinkFont(HWND label, HFONT font) {
    font = fontOrDefault(font);
    const SIZE size = measureLinkText(font);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND createLinkWindow(int width, int height, HWND parent, int x, int y, HFONT font) {
    font = fontOrDefault(font);
    if (width == 0 || height == 0) {
        const SIZE size = measureLinkText(font);
        width = size.cx;
        height = size.cy;
    }
    if (x < 0 || y < 0) {
        RECT client{};
        GetClientRect(parent, &client);
        if (x < 0) {
            x = client.right + x - width;
        }
        if (y < 0) {
            y = client.bottom + y - height;
        }
    }
    HWND label = CreateWindowExW(0, L"HYPERLINK", brandinglink::kLinkText, WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                 x, y, width, height, parent, nullptr, nullptr, nullptr);
    if (label == nullptr) {
        return nullptr;
    }
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    linkColorMap()[label] = brandinglink::kLinkColor;
    return label;
}

HBRUSH linkColorFor(HWND control, HDC dc) {
    const auto& colors = linkColorMap();
    const auto found = colors.find(control);
    if (found == colors.end()) {
        return nullptr;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, found->second);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool openLinkTarget(HWND control) {
    const auto& urls = linkUrlMap();
    const auto found = urls.find(control);
    if (found == urls.end()) {
        return false;
    }
    // Shown normally: a browser started hidden would leave the click without any visible effect. The
    // shell's library is loaded on the first click, not at start-up.
    if (const auto execute = systemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW")) {
        execute(nullptr, L"open", found->second.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    return true;
}
