// Folder and file name split a path without losing or adding anything; the extension test and the
// player-type table agree with their plain definitions.
#include <algorithm>

#include "fuzz/FuzzInput.h"
#include "playback/MediaPlayer.h"
#include "playback/PathRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = wideFrom(data, size);

    const std::wstring folder = folderOf(path);
    const std::wstring name = fileNameOf(path);
    FUZZ_CHECK(folder + name == path);
    FUZZ_CHECK(name.find(L'\\') == std::wstring::npos);
    FUZZ_CHECK(folder.empty() || folder.back() == L'\\');

    const std::wstring lower = asciiLowerCase(path);
    FUZZ_CHECK(lower.size() == path.size());
    FUZZ_CHECK(std::none_of(lower.begin(), lower.end(), [](wchar_t c) { return c >= L'A' && c <= L'Z'; }));

    // The filter is the path's first part up to a blank; the path is what follows.
    const std::size_t blank = path.find(L' ');
    const std::vector<std::wstring> fragments = pathrules::splitFilter(path.substr(0, blank));
    const std::wstring tested = blank == std::wstring::npos ? std::wstring() : path.substr(blank + 1);
    const std::size_t dot = tested.rfind(L'.');
    bool expected = false;
    for (const std::wstring& fragment : fragments) {
        FUZZ_CHECK(fragment.find(L';') == std::wstring::npos);
        expected = expected || (dot != std::wstring::npos &&
                                asciiLowerCase(tested.substr(dot)).find(fragment) != std::wstring::npos);
    }
    FUZZ_CHECK(pathrules::hasPlayableExtension(tested, fragments) == expected);

    const int type = pathrules::playerTypeFor(path);
    const std::wstring extension =
        path.rfind(L'.') == std::wstring::npos ? L"" : lower.substr(lower.rfind(L'.') + 1);
    FUZZ_CHECK(type == ((extension == L"swf" || extension == L"fla") ? PlayerFlash : PlayerVlc));
    return 0;
}
