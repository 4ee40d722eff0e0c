#pragma once

#include <windows.h>

// A key under HKEY_CURRENT_USER, closed when the object goes. Every registry failure of the player is
// silent, so opening answers only whether a key is there to use.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the key for reading and writing, else creates it.
    bool openOrCreate(const wchar_t* subKey);
    // Opens the key for reading and writing when it is there; never creates it.
    bool openExisting(const wchar_t* subKey) { return open(subKey, KEY_READ | KEY_WRITE); }
    // As openOrCreate, but a key that can't be opened for reading and writing may still be opened for
    // setting values alone before creating is tried.
    bool openForHandOff(const wchar_t* subKey);

    HKEY get() const { return key_; }

private:
    bool open(const wchar_t* subKey, REGSAM access);
    bool create(const wchar_t* subKey);

    HKEY key_ = nullptr;
};
