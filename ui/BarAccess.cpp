#include "ui/BarAccess.h"

#include <commctrl.h>

#include "ui/SystemLibrary.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x5A11;
// UI Automation's NotificationKind_Other and NotificationProcessing_MostRecent: a newer text replaces
// one not read yet (a run of volume steps is read as its last).
constexpr int kNotificationOther = 4;
constexpr int kNotificationMostRecent = 3;

// Found at run time: uiautomationcore.dll has them from Windows 10 (1709) on. The provider is an
// IRawElementProviderSimple, passed through as the pointer it is.
using ClientsAreListening = BOOL(WINAPI*)();
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

bool raiseSystemNotification(HWND window, const std::wstring& text) {
    constexpr wchar_t kLibrary[] = L"uiautomationcore.dll";
    const auto raise = systemFunction<RaiseNotificationEvent>(kLibrary, "UiaRaiseNotificationEvent");
    const auto host = systemFunction<HostProviderFromHwnd>(kLibrary, "UiaHostProviderFromHwnd");
    const auto listening = systemFunction<ClientsAreListening>(kLibrary, "UiaClientsAreListening");
    if (raise == nullptr || host == nullptr || listening == nullptr || !listening()) {
        return false;
    }
    IUnknown* provider = nullptr;
    if (FAILED(host(window, &provider)) || provider == nullptr) {
        return false;
    }
    BSTR words = newAccessibleString(text);
    BSTR activity = newAccessibleString(L"Velmora.Told");
    const bool raised =
        words != nullptr && activity != nullptr &&
        SUCCEEDED(raise(provider, kNotificationOther, kNotificationMostRecent, words, activity));
    freeAccessibleString(activity);
    freeAccessibleString(words);
    provider->Release();
    return raised;
}

BarAccess::Notifier g_notifier = nullptr;

}  // namespace

void BarAccess::setNotifier(Notifier notifier) {
    g_notifier = notifier;
}

bool BarAccess::notify(HWND window, const std::wstring& text) {
    return (g_notifier != nullptr ? g_notifier : &raiseSystemNotification)(window, text);
}

BarAccess::~BarAccess() {
    detach();
}

bool BarAccess::attach(HWND window, LONG role, AccessiblePart::Reader reader) {
    if (window == nullptr) {
        return false;
    }
    if (!SetWindowSubclass(window, &BarAccess::subclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this))) {
        OutputDebugStringW(L"BarAccess: attach: subclassing failed\n");
        return false;
    }
    parts_.push_back(Served{window, role, std::move(reader), nullptr});
    return true;
}

void BarAccess::detach() {
    for (Served& part : parts_) {
        if (IsWindow(part.window)) {
            RemoveWindowSubclass(part.window, &BarAccess::subclassProc, kSubclassId);
        }
        if (part.object != nullptr) {
            part.object->disconnect();
            part.object->Release();
        }
    }
    parts_.clear();
    listening_ = false;
    if (comStarted_) {
        CoUninitialize();
        comStarted_ = false;
    }
}

void BarAccess::raise(DWORD event, HWND window) const {
    if (listening_ && window != nullptr) {
        NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
    }
}

LRESULT BarAccess::answer(HWND window, WPARAM wParam, LPARAM lParam) {
    // The object id arrives as a 32-bit value, sign-extended or not depending on the sender.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
        return 0;
    }
    for (Served& part : parts_) {
        if (part.window != window) {
            continue;
        }
        // The object is marshalled to the reader: COM must run on this thread (started once, on the first
        // request, as the taskbar button does).
        if (!comStarted_) {
            comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        }
        if (part.object == nullptr) {
            part.object = new AccessiblePart(window, part.role, part.reader);
        }
        listening_ = true;
        const auto hand = systemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
        return hand != nullptr ? hand(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(part.object))
                               : 0;
    }
    return 0;
}

LRESULT CALLBACK BarAccess::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    switch (message) {
        case WM_GETOBJECT:
            if (const LRESULT answered = reinterpret_cast<BarAccess*>(self)->answer(window, wParam, lParam)) {
                return answered;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &BarAccess::subclassProc, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
