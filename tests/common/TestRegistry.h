#pragma once

#include <windows.h>

#include <vector>

// The player's values in the current user's registry, read and written raw, as another copy of the
// player (or an older one) would leave them.
namespace testregistry {

constexpr wchar_t kPlacementKey[] = L"Software\\Corvanta\\VelmoraPlayer";
constexpr wchar_t kHandOffKey[] = L"Software\\Velmora Player";

struct Value {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

inline Value read(const wchar_t* subKey, const wchar_t* name) {
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size + 1);  // never empty, so data() is a buffer even for an empty value
        value.present =
            RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    return value;
}

inline bool write(const wchar_t* subKey, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, subKey, name, type, data, size) == ERROR_SUCCESS;
}

inline bool keyExists(const wchar_t* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

inline void removeKey(const wchar_t* subKey) {
    RegDeleteTreeW(HKEY_CURRENT_USER, subKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, subKey);
}

}  // namespace testregistry
