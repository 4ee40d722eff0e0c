#include <gtest/gtest.h>

#include <fstream>
#include <windows.h>

#include <string>

#include "common/MainWindowFixture.h"
#include "ui/BrandingLink.h"
#include "ui/GdiGuards.h"
#include "ui/WindowLibrary.h"
#include "common/DibCanvas.h"
#include "common/TempFolder.h"
#include "common/WaitUntil.h"
#include "common/WindowRects.h"

namespace {

SIZE textExtent(HFONT font) {
    WindowDC screen(nullptr);
    SelectedObject selected(screen.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), brandinglink::kLinkText, lstrlenW(brandinglink::kLinkText), &size);
    return size;
}

using testwin::rectInParent;

class BrandingLink : public MainWindowFixture {};

TEST_F(BrandingLink, IsAVisibleNotifyingHyperlinkWithTheLinkText) {
    HWND label = createBrandingLink(nullptr, mainWindow);
    ASSERT_NE(label, nullptr);
    wchar_t className[32] = {};
    GetClassNameW(label, className, 32);
    EXPECT_STREQ(className, L"HYPERLINK");
    EXPECT_EQ(testwin::windowText(label), L"Powered by Corvanta");
    const LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | SS_NOTIFY), WS_CHILD | WS_VISIBLE | SS_NOTIFY);
    EXPECT_EQ(GetParent(label), mainWindow);
}

TEST_F(BrandingLink, TakesTheMeasuredSizeOfItsTextInTheGivenFont) {
    LOGFONTW logical{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logical), &logical);
    logical.lfHeight = -24;  // larger than any default, so a size taken from another font shows
    logical.lfUnderline = TRUE;
    FontHandle font(CreateFontIndirectW(&logical));
    ASSERT_TRUE(font);

    HWND label = createBrandingLink(font.get(), mainWindow);
    ASSERT_NE(label, nullptr);
    const SIZE expected = textExtent(font.get());
    const RECT rect = rectInParent(label);
    EXPECT_EQ(rect.right - rect.left, expected.cx);
    EXPECT_EQ(rect.bottom - rect.top, expected.cy);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), font.get());
    DestroyWindow(label);  // before the font goes
}

TEST_F(BrandingLink, RecordsColourAndAbsoluteWebAddress) {
    HWND label = createBrandingLink(nullptr, mainWindow);
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(linkColorMap().count(label), 1u);
    EXPECT_EQ(linkColorMap()[label], RGB(192, 192, 192));
    ASSERT_EQ(linkUrlMap().count(label), 1u);
    EXPECT_EQ(linkUrlMap()[label].rfind(L"https://", 0), 0u) << "address must carry its scheme";
}

TEST_F(BrandingLink, NegativePositionCountsFromTheRightAndBottomEdges) {
    const SIZE client = testwin::clientSize(mainWindow);
    HWND label = createLinkWindow(80, 16, mainWindow, -5, -7, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(rectInParent(label),
              (RECT{client.cx - 5 - 80, client.cy - 7 - 16, client.cx - 5, client.cy - 7}));
    // A plain link window has a colour but no address.
    EXPECT_EQ(linkColorMap().count(label), 1u);
    EXPECT_EQ(linkUrlMap().count(label), 0u);
}

TEST_F(BrandingLink, ZeroSizeTakesTheMeasuredTextSize) {
    HWND label = createLinkWindow(0, 0, mainWindow, 3, 4, nullptr);
    ASSERT_NE(label, nullptr);
    const SIZE expected = textExtent(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(rectInParent(label), testwin::xywh(3, 4, expected.cx, expected.cy));
}

TEST_F(BrandingLink, ColourAnswerForALink) {
    HWND label = createBrandingLink(nullptr, mainWindow);
    ASSERT_NE(label, nullptr);
    MemoryDC dc;
    SetBkMode(dc.get(), OPAQUE);
    SetTextColor(dc.get(), RGB(1, 2, 3));
    EXPECT_EQ(linkColorFor(label, dc.get()), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetTextColor(dc.get()), RGB(192, 192, 192));
    EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
}

TEST_F(BrandingLink, ColourAnswerForAnotherStaticLeavesTheContextAlone) {
    HWND other = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, mainWindow, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    MemoryDC dc;
    SetBkMode(dc.get(), OPAQUE);
    SetTextColor(dc.get(), RGB(1, 2, 3));
    EXPECT_EQ(linkColorFor(other, dc.get()), nullptr);
    EXPECT_EQ(GetTextColor(dc.get()), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc.get()), OPAQUE);
}

TEST_F(BrandingLink, OpensOnlyRegisteredLinks) {
    HWND other = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 20, 20, mainWindow, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(openLinkTarget(other));
    EXPECT_FALSE(openLinkTarget(nullptr));

    // A registered link has the shell open its address: here a command script that leaves a file behind,
    // so that no browser starts in the test and the opening is seen.
    const TempFolder folder;
    const std::wstring script = folder.path() + L"velmora-link.cmd";
    const std::wstring opened = folder.path() + L"velmora-link-opened.txt";
    {
        std::ofstream out(script.c_str());
        out << "@echo opened> \"%~dp0velmora-link-opened.txt\"\r\n";
    }
    HWND label = createBrandingLink(nullptr, mainWindow);
    ASSERT_NE(label, nullptr);
    linkUrlMap()[label] = script;
    EXPECT_TRUE(openLinkTarget(label));
    EXPECT_TRUE(
        testwait::waitUntil([&] { return GetFileAttributesW(opened.c_str()) != INVALID_FILE_ATTRIBUTES; },
                            std::chrono::seconds(5)))
        << "the shell did not open the link's address";

    // A target that doesn't exist is not reported.
    linkUrlMap()[label] = L"Z:\\velmora-no-such-folder\\nothing.velmora-none";
    EXPECT_TRUE(openLinkTarget(label));
}

}  // namespace
