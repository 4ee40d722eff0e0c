#include "ui/SystemLibrary.h"

FARPROC systemLibraryFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        // From the system folder by its full path, never from the current or the program's folder.
        wchar_t folder[MAX_PATH] = L"";
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return nullptr;
        }
        module = LoadLibraryW((std::wstring(folder) + L"\\" + library).c_str());
    }
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
