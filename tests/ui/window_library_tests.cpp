// The window library: the hyperlink class, the shared state and its shut-down, and the geometry helpers.
#include "ui/WindowLibrary.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

// A window destroyed at the end of the test.
class TestWindow {
public:
    TestWindow(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, HMENU menu = nullptr)
        : window_(CreateWindowExW(0, L"STATIC", L"", style, x, y, width, height, parent, menu, module(),
                                  nullptr)) {}
    ~TestWindow() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }

private:
    HWND window_;
};

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT workArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

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
    wchar_t text[64] = {};
    GetWindowTextW(label, text, 64);
    EXPECT_STREQ(text, L"Powered by Corvanta");
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
    TestWindow window(WS_POPUP, 3, 7, 300, 200);
    ASSERT_NE(window.get(), nullptr);
    centerWindow(window.get());
    const RECT r = windowRect(window.get());
    EXPECT_EQ(r.left, (area.left + area.right - 300) / 2);
    EXPECT_EQ(r.top, (area.top + area.bottom - 200) / 2);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST(CenterWindow, WindowLargerThanTheWorkAreaKeepsItsTopLeftVisible) {
    const RECT area = workArea();
    const int width = area.right - area.left + 100;
    const int height = area.bottom - area.top + 60;
    TestWindow window(WS_POPUP, 50, 50, width, height);
    ASSERT_NE(window.get(), nullptr);
    centerWindow(window.get());
    const RECT r = windowRect(window.get());
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
    EXPECT_EQ(r.right - r.left, width);
}

TEST(CenterWindow, OwnedPopupCentresOverItsOwnerAwayFromTheOrigin) {
    TestWindow owner(WS_POPUP, 400, 300, 500, 400);
    TestWindow popup(WS_POPUP, 0, 0, 100, 50, owner.get());
    ASSERT_NE(popup.get(), nullptr);
    ASSERT_EQ(GetParent(popup.get()), owner.get());
    centerWindow(popup.get());
    const RECT r = windowRect(popup.get());
    EXPECT_EQ(r.left, 600);
    EXPECT_EQ(r.top, 475);
}

TEST(CenterWindow, ChildCentresOverItsParentOnTheScreen) {
    TestWindow parent(WS_POPUP, 200, 100, 400, 300);
    TestWindow child(WS_CHILD, 0, 0, 100, 60, parent.get());
    ASSERT_NE(child.get(), nullptr);
    centerWindow(child.get());
    const RECT r = windowRect(child.get());
    EXPECT_EQ(r.left, 350);
    EXPECT_EQ(r.top, 220);
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
    HWND window = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 50, 60, 400, 300, nullptr,
                                  menu, module(), nullptr);
    ASSERT_NE(window, nullptr);
    const RECT before = windowRect(window);

    setClientSize(window, c.width, c.height);

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    const RECT after = windowRect(window);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    DestroyWindow(window);  // also destroys the attached menu
}

INSTANTIATE_TEST_SUITE_P(Frames, SetClientSizeTest,
                         ::testing::Values(ClientSizeCase{"PlainLarger", false, 672, 456},
                                           ClientSizeCase{"PlainSmaller", false, 200, 120},
                                           ClientSizeCase{"MenuLarger", true, 672, 456}),
                         [](const ::testing::TestParamInfo<ClientSizeCase>& info) {
                             return info.param.label;
                         });

}  // namespace
