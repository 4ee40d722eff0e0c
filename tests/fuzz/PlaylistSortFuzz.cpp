// The playlist's order: a strict weak order on any paths (std::sort relies on it), matching a plain
// comparison of unsigned 16-bit code units with a prefix first.
#include <algorithm>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "playback/PathRules.h"

namespace {

bool plainLess(const std::wstring& a, const std::wstring& b) {
    std::u16string x(a.begin(), a.end()), y(b.begin(), b.end());
    return x < y;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Paths are separated by a zero unit.
    std::vector<std::wstring> paths;
    std::wstring current;
    for (wchar_t unit : wideFrom(data, size)) {
        if (unit == L'\0') {
            paths.push_back(current);
            current.clear();
        } else {
            current.push_back(unit);
        }
    }
    paths.push_back(current);

    for (const std::wstring& a : paths) {
        FUZZ_CHECK(!pathrules::pathPrecedes(a, a));
        for (const std::wstring& b : paths) {
            FUZZ_CHECK(pathrules::pathPrecedes(a, b) == plainLess(a, b));
        }
    }
    std::sort(paths.begin(), paths.end(), pathrules::pathPrecedes);
    FUZZ_CHECK(std::is_sorted(paths.begin(), paths.end(), plainLess));
    return 0;
}
