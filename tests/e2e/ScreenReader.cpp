#include "e2e/ScreenReader.h"

#include <oleacc.h>

namespace e2e {

namespace {

std::wstring taken(BSTR text) {
    std::wstring copy = text != nullptr ? text : L"";
    SysFreeString(text);
    return copy;
}

}  // namespace

ReaderView readAsScreenReader(HWND window) {
    ReaderView view;
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccessible* object = nullptr;
    // __uuidof: the x86-64 import library's IID_IAccessible is the address of a thunk, not the IID.
    if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))) &&
        object != nullptr) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT answer{};
        if (object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4) {
            view.role = answer.lVal;
        }
        VariantClear(&answer);
        if (object->get_accState(self, &answer) == S_OK && answer.vt == VT_I4) {
            view.state = answer.lVal;
        }
        BSTR text = nullptr;
        object->get_accName(self, &text);
        view.name = taken(text);
        text = nullptr;
        object->get_accValue(self, &text);
        view.value = taken(text);
        long left = 0, top = 0, width = 0, height = 0;
        if (object->accLocation(&left, &top, &width, &height, self) == S_OK) {
            view.location = RECT{left, top, left + width, top + height};
        }
        object->Release();
    }
    if (com) {
        CoUninitialize();
    }
    return view;
}

}  // namespace e2e
