#include "app/instance/RegistryKey.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;  // 0x2001F

}  // namespace

RegistryKey::~RegistryKey() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
    }
}

bool RegistryKey::openOrCreate(const wchar_t* subKey) {
    return open(subKey, kReadWrite) || create(subKey);
}

bool RegistryKey::openForHandOff(const wchar_t* subKey) {
    return open(subKey, kReadWrite) || open(subKey, KEY_SET_VALUE) || create(subKey);
}

bool RegistryKey::open(const wchar_t* subKey, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, access, &key) != ERROR_SUCCESS || key == nullptr) {
        return false;
    }
    key_ = key;
    return true;
}

bool RegistryKey::create(const wchar_t* subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr,
                        &key, nullptr) != ERROR_SUCCESS ||
        key == nullptr) {
        return false;
    }
    key_ = key;
    return true;
}
