#include "playback/PlayerEventWindow.h"

#include <atomic>

namespace {

const wchar_t kClassName[] = L"VelmoraPlayerEvents";
// The window's own message; wParam carries the library's event type.
const UINT kPlayerEventMessage = WM_APP + 1;

// Read by the library's thread, written by the user-interface thread.
std::atomic<HWND> gEventWindow{nullptr};

bool registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PlayerEventWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

PlayerEventWindow::PlayerEventWindow(Handler handler, void* context) : handler_(handler), context_(context) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registerClass(instance)) {
        OutputDebugStringW(L"PlayerEventWindow: RegisterClassExW failed\n");
        return;
    }
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (window_ == nullptr) {
        OutputDebugStringW(L"PlayerEventWindow: CreateWindowExW failed\n");
        return;
    }
    gEventWindow.store(window_);
}

PlayerEventWindow::~PlayerEventWindow() {
    if (window_ == nullptr) {
        return;
    }
    // Later posts find no window; messages already queued for it are discarded with it.
    HWND expected = window_;
    gEventWindow.compare_exchange_strong(expected, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool PlayerEventWindow::post(int eventType) {
    HWND window = gEventWindow.load();
    return window != nullptr &&
           PostMessageW(window, kPlayerEventMessage, static_cast<WPARAM>(eventType), 0) != FALSE;
}

LRESULT CALLBACK PlayerEventWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case kPlayerEventMessage:
            if (auto* self = reinterpret_cast<PlayerEventWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                self->deliver(static_cast<int>(wParam));
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
