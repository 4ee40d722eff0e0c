#pragma once

#include <windows.h>

#include <vector>

// The player's values in the current user's registry, raw, as another copy of the player leaves them.
namespace testregistry {

constexpr wchar_t kPlacementKey[] = L"Software\\Corvanta\\VelmoraPlayer";
constexpr wchar_t kHandOffKey[] = L"Software\\Velmora Player";

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

inline bool keyExists(const wchar_t* subKey) {
    HKEY key = nullptr;
    const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (exists) {
        RegCloseKey(key);
    }
    return exists;
}

inline void removeKey(const wchar_t* subKey) {
    RegDeleteTreeW(HKEY_CURRENT_USER, subKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, subKey);
}

}  // namespace testregistry
