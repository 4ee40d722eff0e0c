#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// What a screen reader reads of a window from another program: the window's client object
// (AccessibleObjectFromWindow, OBJID_CLIENT), its role, name, value, state and place on the screen.
struct ReaderView {
    long role = -1;  // -1: no object came back
    std::wstring name;
    std::wstring value;
    long state = 0;
    RECT location{};
};
ReaderView readAsScreenReader(HWND window);

}  // namespace e2e
