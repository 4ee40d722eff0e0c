#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

// Reading a window as a screen reader does: its client object (AccessibleObjectFromWindow, OBJID_CLIENT)
// and what that object answers for itself (CHILDID_SELF). COM must run on the calling thread.

// The object, with one reference for the caller; null when none came back.
inline IAccessible* clientObject(HWND window) {
    IAccessible* object = nullptr;
    // __uuidof: the x86-64 import library's IID_IAccessible is the address of a thunk, not the IID.
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

inline VARIANT selfChild() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// The role, name, value, state and place on the screen the object reads as.
struct ReaderView {
    long role = -1;  // -1: no object came back
    std::wstring name;
    std::wstring value;
    long state = 0;
    RECT location{};
};

inline ReaderView readAsScreenReader(HWND window) {
    ReaderView view;
    IAccessible* object = clientObject(window);
    if (object == nullptr) {
        return view;
    }
    const VARIANT self = selfChild();
    VARIANT answer{};
    if (object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4) {
        view.role = answer.lVal;
    }
    if (object->get_accState(self, &answer) == S_OK && answer.vt == VT_I4) {
        view.state = answer.lVal;
    }
    for (auto [get, text] : {std::pair{&IAccessible::get_accName, &view.name},
                             std::pair{&IAccessible::get_accValue, &view.value}}) {
        BSTR answered = nullptr;
        if ((object->*get)(self, &answered) == S_OK && answered != nullptr) {
            *text = answered;
        }
        SysFreeString(answered);
    }
    long left = 0, top = 0, width = 0, height = 0;
    if (object->accLocation(&left, &top, &width, &height, self) == S_OK) {
        view.location = RECT{left, top, left + width, top + height};
    }
    object->Release();
    return view;
}
