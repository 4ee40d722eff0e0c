// The window library: the hyperlink class, the shared state and its shut-down, and the geometry helpers.
#include "ui/WindowLibrary.h"

#include "common/TestWindows.h"
#include "common/WindowRects.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

using testwin::TestWindow;
using testwin::windowRect;
using testwin::workArea;
using testwin::xywh;

class WindowLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { initWindowLibrary(module()); }
    void TearDown() override { shutdownWindowLibrary(module()); }
};

TEST_F(WindowLibraryTest, HyperlinkIsAStaticControlWithTheHandCursor) {
    WNDCLASSEXW link{};
    link.cbSize = sizeof(link);
    WNDCLASSEXW stat{};
    stat.cbSize = sizeof(stat);
    ASSERT_TRUE(GetClassInfoExW(module(), L"HYPERLINK", &link));
    ASSERT_TRUE(GetClassInfoExW(module(), L"STATIC", &stat));
    EXPECT_EQ(link.hCursor, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(link.lpfnWndProc, stat.lpfnWndProc);
    EXPECT_EQ(link.cbWndExtra, stat.cbWndExtra);

    HWND label = CreateWindowExW(0, L"HYPERLINK", L"Powered by Corvanta", WS_POPUP | SS_NOTIFY, 0, 0, 100, 20,
                                 nullptr, nullptr, module(), nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(testwin::windowText(label), L"Powered by Corvanta");
    DestroyWindow(label);

    EXPECT_NE(measuringDC(), nullptr);
    EXPECT_EQ(GetObjectType(measuringDC()), static_cast<DWORD>(OBJ_MEMDC));
}

TEST_F(WindowLibraryTest, ShutdownEmptiesTheLinkTablesAndUnregisters) {
    HWND fake = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    linkColorMap()[fake] = RGB(192, 192, 192);
    linkUrlMap()[fake] = L"https://example.invalid/";
    HDC dc = measuringDC();

    shutdownWindowLibrary(module());
    EXPECT_TRUE(linkColorMap().empty());
    EXPECT_TRUE(linkUrlMap().empty());
    EXPECT_EQ(measuringDC(), nullptr);
    EXPECT_EQ(GetObjectType(dc), 0u) << "the measuring context is deleted";
    WNDCLASSEXW link{};
    link.cbSize = sizeof(link);
    EXPECT_FALSE(GetClassInfoExW(module(), L"HYPERLINK", &link));

    // A second start-up after a shut-down works again.
    initWindowLibrary(module());
    EXPECT_TRUE(GetClassInfoExW(module(), L"HYPERLINK", &link));
    EXPECT_NE(measuringDC(), nullptr);
}

TEST(CenterWindow, CentresOverTheWorkArea) {
    const RECT area = workArea();
    TestWindow window(WS_POPUP, {3, 7, 303, 207});
    ASSERT_NE(window.get(), nullptr);
    centerWindow(window.get());
    EXPECT_EQ(windowRect(window.get()),
              xywh((area.left + area.right - 300) / 2, (area.top + area.bottom - 200) / 2, 300, 200));
}

TEST(CenterWindow, WindowLargerThanTheWorkAreaKeepsItsTopLeftVisible) {
    const RECT area = workArea();
    const int width = area.right - area.left + 100;
    const int height = area.bottom - area.top + 60;
    TestWindow window(WS_POPUP, {50, 50, 50 + width, 50 + height});
    ASSERT_NE(window.get(), nullptr);
    centerWindow(window.get());
    const RECT r = windowRect(window.get());
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
    EXPECT_EQ(r.right - r.left, width);
}

TEST(CenterWindow, OwnedPopupCentresOverItsOwnerAwayFromTheOrigin) {
    TestWindow owner(WS_POPUP, {400, 300, 900, 700});
    TestWindow popup(WS_POPUP, {0, 0, 100, 50}, owner.get());
    ASSERT_NE(popup.get(), nullptr);
    ASSERT_EQ(GetParent(popup.get()), owner.get());
    centerWindow(popup.get());
    EXPECT_EQ(windowRect(popup.get()), xywh(600, 475, 100, 50));
}

TEST(CenterWindow, ChildCentresOverItsParentOnTheScreen) {
    TestWindow parent(WS_POPUP, {200, 100, 600, 400});
    TestWindow child(WS_CHILD, {0, 0, 100, 60}, parent.get());
    ASSERT_NE(child.get(), nullptr);
    centerWindow(child.get());
    EXPECT_EQ(windowRect(child.get()), xywh(350, 220, 100, 60));
}

struct ClientSizeCase {
    const char* label;
    bool withMenu;
    int width;
    int height;
};

class SetClientSizeTest : public ::testing::TestWithParam<ClientSizeCase> {};

TEST_P(SetClientSizeTest, ClientGetsExactlyTheSizeAndThePositionStays) {
    const ClientSizeCase& c = GetParam();
    HMENU menu = c.withMenu ? LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MAINMENU)) : nullptr;
    const TestWindow frame(WS_OVERLAPPEDWINDOW, {50, 60, 450, 360}, nullptr, menu);
    const HWND window = frame.get();
    ASSERT_NE(window, nullptr);
    const RECT before = windowRect(window);

    setClientSize(window, c.width, c.height);

    EXPECT_EQ(testwin::clientSize(window), (SIZE{c.width, c.height}));
    EXPECT_EQ(windowRect(window).left, before.left);
    EXPECT_EQ(windowRect(window).top, before.top);
}

INSTANTIATE_TEST_SUITE_P(Frames, SetClientSizeTest,
                         ::testing::Values(ClientSizeCase{"PlainLarger", false, 672, 456},
                                           ClientSizeCase{"PlainSmaller", false, 200, 120},
                                           ClientSizeCase{"MenuLarger", true, 672, 456}),
                         [](const ::testing::TestParamInfo<ClientSizeCase>& info) {
                             return info.param.label;
                         });

}  // namespace
