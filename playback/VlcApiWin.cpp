#include <windows.h>

#include <cwchar>
#include <string>

#include "playback/VlcApi.h"

namespace {

// Resolves libvlccore.dll beside the library and nothing from the current directory.
constexpr DWORD kSearchFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
constexpr DWORD kLongestPath = 32768;

std::wstring withTrailingSlash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder;
}

// The running program's folder; empty when it can't be read.
std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        // A full buffer means the name was cut: read it again into a larger one.
        if (path.size() >= kLongestPath) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    std::wstring::size_type slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A 64-bit player can only load a 64-bit library and a 32-bit one a 32-bit library, so each reads the
// installer's entry from the registry view of its own bitness, whichever Windows it runs on.
constexpr REGSAM kOwnRegistryView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::wstring installDirOf(HKEY key) {
    // A plain string: asking for expandable strings too is refused unless they stay unexpanded.
    const DWORD types = RRF_RT_REG_SZ;
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD bytes = 0;
        if (RegGetValueW(key, nullptr, L"InstallDir", types, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
            bytes < sizeof(wchar_t)) {
            return {};
        }
        std::wstring folder(bytes / sizeof(wchar_t), L'\0');
        LONG result = RegGetValueW(key, nullptr, L"InstallDir", types, nullptr, &folder[0], &bytes);
        if (result == ERROR_SUCCESS) {
            folder.resize(std::wcslen(folder.c_str()));
            return withTrailingSlash(folder);
        }
        // The value grew between the two reads: ask for its size again.
        if (result != ERROR_MORE_DATA) {
            return {};
        }
    }
    return {};
}

// Where an installed copy of the library lives, from its installer's registry entry; empty if none.
std::wstring installedFolder() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VideoLAN\\VLC", 0, KEY_QUERY_VALUE | kOwnRegistryView,
                      &key) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring folder = installDirOf(key);
    RegCloseKey(key);
    return folder;
}

HMODULE loadFrom(const std::wstring& folder) {
    if (folder.empty()) {
        return nullptr;
    }
    std::wstring path = folder + L"libvlc.dll";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, kSearchFlags);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Systems without the search-flag update: the library's own folder still comes first this way.
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return module;
}

template <typename Entry>
bool resolve(HMODULE module, const char* name, Entry& entry) {
    // Through the generic function type, which converts to any other without a cast warning.
    entry = reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return entry != nullptr;
}

#define VELMORA_VLC_RESOLVE_ENTRY(name) complete = resolve(module, #name, table.name) && complete;
#define VELMORA_VLC_RESOLVE_OPTIONAL_ENTRY(name) resolve(module, #name, table.name);

// True when every required entry is there; an optional one that is missing stays null.
bool resolveAll(HMODULE module, VlcApi& table) {
    bool complete = true;
    VELMORA_VLC_ENTRIES(VELMORA_VLC_RESOLVE_ENTRY)
    VELMORA_VLC_OPTIONAL_ENTRIES(VELMORA_VLC_RESOLVE_OPTIONAL_ENTRY)
    return complete;
}

const VlcApi* loadFirstComplete() {
    static VlcApi table;
    const std::wstring folders[] = {programFolder(), installedFolder()};
    for (const std::wstring& folder : folders) {
        HMODULE module = loadFrom(folder);
        if (!module) {
            continue;
        }
        if (resolveAll(module, table)) {
            // Stays loaded until the process ends: the library's threads of a player that is still
            // winding down must never find their code gone.
            return &table;
        }
        OutputDebugStringW(L"VlcApi: loadVlcApi: libvlc.dll lacks a required entry\n");
        FreeLibrary(module);
    }
    OutputDebugStringW(L"VlcApi: loadVlcApi: libvlc.dll not available\n");
    return nullptr;
}

}  // namespace

const VlcApi* loadVlcApi() {
    static const VlcApi* const loaded = loadFirstComplete();
    return loaded;
}
