#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The player's values in the current user's registry, raw, as another copy of the player leaves them.
namespace testregistry {

constexpr wchar_t kPlacementKey[] = L"Software\\Corvanta\\VelmoraPlayer";
constexpr wchar_t kHandOffKey[] = L"Software\\Velmora Player";
// Where the viewer left each file: a binary value named by the file's path.
constexpr wchar_t kResumeKey[] = L"Software\\Velmora Player\\Resume";
// The values: the main window's placement, and the running copy's window and the path handed to it.
constexpr wchar_t kPlacementValue[] = L"MAIN_WP";
constexpr wchar_t kHandleValue[] = L"MainFrame_Handle";
constexpr wchar_t kNewFileValue[] = L"MainFrame_NewFile";
// What a new start posts to the running copy's window once the path is in kNewFileValue.
constexpr UINT kOpenHandedOverFile = WM_APP + 504;

// A placement record of the window at the normal rectangle, as the player stores it in kPlacementValue.
inline WINDOWPLACEMENT placementOf(const RECT& normal, UINT show = SW_SHOWNORMAL) {
    return WINDOWPLACEMENT{sizeof(WINDOWPLACEMENT), 0, show, {-1, -1}, {-1, -1}, normal};
}

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;  // empty when there is no such value
};

inline Value read(const wchar_t* subKey, const wchar_t* name) {
    Value value;
    HKEY key = nullptr;
    DWORD size = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
            value.bytes.resize(size + 1);
            RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size);
            value.bytes.resize(size);
        }
        RegCloseKey(key);
    }
    return value;
}

inline bool write(const wchar_t* subKey, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, subKey, name, type, data, size) == ERROR_SUCCESS;
}

// One of the player's values by its name alone: each lives under its own key.
inline const wchar_t* keyOf(const wchar_t* name) {
    return std::wstring(name) == kPlacementValue ? kPlacementKey : kHandOffKey;
}
inline Value read(const wchar_t* name) {
    return read(keyOf(name), name);
}
inline bool write(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return write(keyOf(name), name, type, data, size);
}

// The display scale Wine gives each process it starts (read when the process starts; 96 without it).
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

inline void removeValue(const wchar_t* subKey, const wchar_t* name) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, subKey, name);
}

// Any root and registry view (KEY_WOW64_32KEY or KEY_WOW64_64KEY; 0 for the caller's own), as an
// installer or another program's bitness sees them.
inline bool keyExists(HKEY root, REGSAM view, const std::wstring& subKey) {
    HKEY key = nullptr;
    const bool exists = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, &key) == ERROR_SUCCESS;
    if (exists) {
        RegCloseKey(key);
    }
    return exists;
}

// A string value, or `missing` when the value (or its key) is not there or is not a string.
inline std::wstring readString(HKEY root, REGSAM view, const std::wstring& subKey, const wchar_t* name,
                               const std::wstring& missing = L"<none>") {
    wchar_t text[1024] = L"";
    DWORD size = sizeof(text) - sizeof(wchar_t);
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return missing;
    }
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(text) : missing;
}

inline bool writeString(HKEY root, REGSAM view, const std::wstring& subKey, const wchar_t* name,
                        const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

inline void removeKey(HKEY root, REGSAM view, const std::wstring& subKey) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, &parent) == ERROR_SUCCESS) {
        RegDeleteTreeW(parent, nullptr);
        RegCloseKey(parent);
    }
    RegDeleteKeyExW(root, subKey.c_str(), view, 0);
}

// The same for the current user's own registry.
inline bool keyExists(const wchar_t* subKey) {
    return keyExists(HKEY_CURRENT_USER, 0, subKey);
}
inline void removeKey(const wchar_t* subKey) {
    removeKey(HKEY_CURRENT_USER, 0, subKey);
}

}  // namespace testregistry
