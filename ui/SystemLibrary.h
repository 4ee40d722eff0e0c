#pragma once

#include <windows.h>

#include <string>

// Functions of system libraries that the player needs only after start-up (the open dialog, a dropped
// file, the branding link's click). Their library is loaded from the system folder on first use rather
// than with the program, so that start-up loads only what the first window needs. Null when the library
// or the function isn't there.
FARPROC systemLibraryFunction(const wchar_t* library, const char* name);

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    // Through void*: the function's real type is known only here.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(systemLibraryFunction(library, name)));
}
