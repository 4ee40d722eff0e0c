#include "ui/AccessiblePart.h"

#include <utility>

#include "ui/SystemLibrary.h"

namespace {

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void setEmpty(VARIANT* out) {
    if (out != nullptr) {
        *out = VARIANT{};
        out->vt = VT_EMPTY;
    }
}

}  // namespace

BSTR newAccessibleString(const std::wstring& text) {
    const auto make = systemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    return make != nullptr ? make(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

void freeAccessibleString(BSTR text) {
    if (const auto release = systemFunction<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString")) {
        release(text);
    }
}

AccessiblePart::AccessiblePart(HWND window, LONG role, Reader reader)
    : window_(window), role_(role), reader_(std::move(reader)) {}

void AccessiblePart::disconnect() {
    dead_ = true;
    reader_ = nullptr;
    window_ = nullptr;
}

HRESULT AccessiblePart::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessiblePart::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG AccessiblePart::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT AccessiblePart::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return dead_ ? RPC_E_DISCONNECTED : S_OK;
}

HRESULT AccessiblePart::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return dead_ ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

HRESULT AccessiblePart::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return dead_ ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

HRESULT AccessiblePart::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return dead_ ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

HRESULT AccessiblePart::check(const VARIANT& child) const {
    if (dead_) {
        return RPC_E_DISCONNECTED;
    }
    return isSelf(child) ? S_OK : E_INVALIDARG;
}

HRESULT AccessiblePart::text(const VARIANT& child, std::wstring AccessibleReading::*field, BSTR* out) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (const HRESULT checked = check(child); checked != S_OK) {
        return checked;
    }
    // No field: a text the parts never have (description, help, shortcut, default action).
    const std::wstring words = reader_ && field != nullptr ? reader_().*field : std::wstring();
    if (words.empty()) {
        return S_FALSE;
    }
    *out = newAccessibleString(words);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessiblePart::get_accParent(IDispatch** parent) {
    if (parent == nullptr) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (dead_) {
        return RPC_E_DISCONNECTED;
    }
    // The parent of a window's client object is the system's object of the window itself.
    const auto standard =
        systemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    if (standard == nullptr) {
        return S_FALSE;
    }
    return standard(window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT AccessiblePart::get_accChildCount(long* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return dead_ ? RPC_E_DISCONNECTED : S_OK;
}

HRESULT AccessiblePart::get_accChild(VARIANT, IDispatch** dispatch) {
    if (dispatch == nullptr) {
        return E_POINTER;
    }
    *dispatch = nullptr;
    return dead_ ? RPC_E_DISCONNECTED : E_INVALIDARG;
}

HRESULT AccessiblePart::get_accName(VARIANT child, BSTR* name) {
    return text(child, &AccessibleReading::name, name);
}

HRESULT AccessiblePart::get_accValue(VARIANT child, BSTR* value) {
    return text(child, &AccessibleReading::value, value);
}

HRESULT AccessiblePart::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) {
        return E_POINTER;
    }
    setEmpty(role);
    if (const HRESULT checked = check(child); checked != S_OK) {
        return checked;
    }
    role->vt = VT_I4;
    role->lVal = role_;
    return S_OK;
}

HRESULT AccessiblePart::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    setEmpty(state);
    if (const HRESULT checked = check(child); checked != S_OK) {
        return checked;
    }
    // The windows behind the parts are never shown (the bar draws them): the part is what shows, so it
    // reads as visible, and as read-only, since a reader changes nothing here.
    state->vt = VT_I4;
    state->lVal = STATE_SYSTEM_READONLY;
    if (reader_ && reader_().unavailable) {
        state->lVal |= STATE_SYSTEM_UNAVAILABLE;
    }
    return S_OK;
}

HRESULT AccessiblePart::get_accDescription(VARIANT child, BSTR* description) {
    return text(child, nullptr, description);
}

HRESULT AccessiblePart::get_accHelp(VARIANT child, BSTR* help) {
    return text(child, nullptr, help);
}

HRESULT AccessiblePart::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file != nullptr) {
        *file = nullptr;
    }
    if (topic != nullptr) {
        *topic = 0;
    }
    return dead_ ? RPC_E_DISCONNECTED : S_FALSE;
}

HRESULT AccessiblePart::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return text(child, nullptr, shortcut);
}

HRESULT AccessiblePart::get_accFocus(VARIANT* focus) {
    setEmpty(focus);
    return dead_ ? RPC_E_DISCONNECTED : S_FALSE;
}

HRESULT AccessiblePart::get_accSelection(VARIANT* selection) {
    setEmpty(selection);
    return dead_ ? RPC_E_DISCONNECTED : S_FALSE;
}

HRESULT AccessiblePart::get_accDefaultAction(VARIANT child, BSTR* action) {
    return text(child, nullptr, action);
}

HRESULT AccessiblePart::accSelect(long, VARIANT child) {
    const HRESULT checked = check(child);
    return checked != S_OK ? checked : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessiblePart::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    if (const HRESULT checked = check(child); checked != S_OK) {
        return checked;
    }
    RECT area{};
    if (!GetWindowRect(window_, &area)) {
        return S_FALSE;
    }
    *left = area.left;
    *top = area.top;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
}

HRESULT AccessiblePart::accNavigate(long, VARIANT start, VARIANT* end) {
    setEmpty(end);
    const HRESULT checked = check(start);
    return checked != S_OK ? checked : S_FALSE;
}

HRESULT AccessiblePart::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    setEmpty(child);
    if (dead_) {
        return RPC_E_DISCONNECTED;
    }
    RECT area{};
    if (!GetWindowRect(window_, &area) || !PtInRect(&area, POINT{x, y})) {
        return S_FALSE;
    }
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT AccessiblePart::accDoDefaultAction(VARIANT child) {
    const HRESULT checked = check(child);
    return checked != S_OK ? checked : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessiblePart::put_accName(VARIANT, BSTR) {
    return dead_ ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

HRESULT AccessiblePart::put_accValue(VARIANT, BSTR) {
    return dead_ ? RPC_E_DISCONNECTED : E_NOTIMPL;
}
