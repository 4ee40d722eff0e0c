// Where the viewer left each file, under HKEY_CURRENT_USER\Software\Velmora Player\Resume: one binary
// value per file, named by its path (the layout and why: playback/ResumeRules.h). Every failure is
// silent, and a value that is missing, of another type or size, or negative reads as no place.
#include <vector>

#include "app/MediaPlayerApp.h"
#include "app/desktop/Desktop.h"
#include "app/instance/RegistryKey.h"
#include "playback/ResumeRules.h"
#include "playback/ResumeStore.h"

namespace {

std::wstring resumeKeyPath() {
    return std::wstring(L"Software\\") + identity::kProductName + L"\\Resume";
}

bool readRecord(HKEY key, const wchar_t* name, resume::Record& record) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !resume::worthReading(type, size)) {
        return false;
    }
    unsigned char bytes[resume::kRecordBytes] = {};
    DWORD read = sizeof(bytes);
    return RegQueryValueExW(key, name, nullptr, &type, bytes, &read) == ERROR_SUCCESS &&
           resume::decode(type, bytes, read, record);
}

std::vector<resume::Stored> storedValues(HKEY key) {
    std::vector<resume::Stored> values;
    DWORD count = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return values;
    }
    std::vector<wchar_t> name(longestName + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            continue;
        }
        resume::Stored value;
        value.name.assign(name.data(), length);
        resume::Record record;
        value.valid = readRecord(key, value.name.c_str(), record);
        value.stamp = record.stamp;
        values.push_back(std::move(value));
    }
    return values;
}

class RegistryResumeStore final : public ResumeStore {
public:
    std::int64_t recall(const std::wstring& path) override {
        RegistryKey key;
        resume::Record record;
        if (!key.openExisting(resumeKeyPath().c_str()) || !readRecord(key.get(), path.c_str(), record)) {
            return -1;
        }
        return record.position;
    }

    void remember(const std::wstring& path, std::int64_t positionMs) override {
        RegistryKey key;
        if (!key.openOrCreate(resumeKeyPath().c_str())) {
            return;
        }
        const std::vector<resume::Stored> values = storedValues(key.get());
        const auto bytes = resume::encode({positionMs, resume::nextStamp(values)});
        if (RegSetValueExW(key.get(), path.c_str(), 0, REG_BINARY, bytes.data(),
                           static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS) {
            return;
        }
        for (const std::wstring& name : resume::evictions(values, path)) {
            RegDeleteValueW(key.get(), name.c_str());
        }
    }

    void forget(const std::wstring& path) override {
        RegistryKey key;
        if (key.openExisting(resumeKeyPath().c_str())) {
            RegDeleteValueW(key.get(), path.c_str());
        }
    }
};

}  // namespace

ResumeStore& resumePlaces() {
    static RegistryResumeStore store;
    return store;
}
