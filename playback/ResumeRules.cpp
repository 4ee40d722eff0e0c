#include "playback/ResumeRules.h"

#include <algorithm>
#include <cwctype>

namespace resume {

namespace {

void putNumber(unsigned char* out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

std::uint64_t takeNumber(const unsigned char* in) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | in[i];
    }
    return value;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
           });
}

}  // namespace

OnLeave onLeave(std::int64_t time, std::int64_t length, bool ended) {
    if (ended) {
        return OnLeave::Forget;
    }
    if (length <= 0) {
        return OnLeave::Keep;
    }
    if (time >= length - kMarginMs) {
        return OnLeave::Forget;
    }
    return time > kMarginMs ? OnLeave::Remember : OnLeave::Keep;
}

std::array<unsigned char, kRecordBytes> encode(const Record& record) {
    std::array<unsigned char, kRecordBytes> bytes{};
    putNumber(bytes.data(), static_cast<std::uint64_t>(record.position));
    putNumber(bytes.data() + 8, record.stamp);
    return bytes;
}

bool worthReading(std::uint32_t type, std::size_t size) {
    return type == kBinaryType && size == kRecordBytes;
}

bool decode(std::uint32_t type, const unsigned char* data, std::size_t size, Record& record) {
    if (!worthReading(type, size) || data == nullptr) {
        return false;
    }
    const auto position = static_cast<std::int64_t>(takeNumber(data));
    if (position < 0) {
        return false;
    }
    record = {position, takeNumber(data + 8)};
    return true;
}

bool offerable(std::int64_t position, std::int64_t length) {
    return position >= 0 && (length <= 0 || position < length);
}

std::uint64_t nextStamp(const std::vector<Stored>& stored) {
    std::uint64_t highest = 0;
    for (const Stored& value : stored) {
        if (value.valid) {
            highest = std::max(highest, value.stamp);
        }
    }
    return highest + 1;
}

std::vector<std::wstring> evictions(const std::vector<Stored>& stored, const std::wstring& adding) {
    std::vector<const Stored*> others;
    for (const Stored& value : stored) {
        if (!sameName(value.name, adding)) {
            others.push_back(&value);
        }
    }
    // The written value is one of the kMostFiles; the others keep the most recent places.
    const std::size_t keep = kMostFiles - 1;
    if (others.size() <= keep) {
        return {};
    }
    std::stable_sort(others.begin(), others.end(), [](const Stored* a, const Stored* b) {
        if (a->valid != b->valid) {
            return !a->valid;
        }
        return a->stamp < b->stamp;
    });
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < others.size() - keep; ++i) {
        names.push_back(others[i]->name);
    }
    return names;
}

}  // namespace resume
