// Folder and file name split a path without losing or adding anything; the extension test and the
// player-type table agree with their plain definitions.
#include <algorithm>

#include "fuzz/FuzzInput.h"
#include "playback/MediaFormats.h"
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

    // The extension test: "mpg" anywhere in the text after the last dot, every other accepted extension
    // as the whole of it, in any letter case of A..Z.
    const std::size_t dot = path.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : lower.substr(dot + 1);
    bool expected = false;
    for (const mediaformats::MediaExtension& entry : mediaformats::kMediaExtensions) {
        const std::wstring accepted = entry.name;
        FUZZ_CHECK(!accepted.empty() && asciiLowerCase(accepted) == accepted);
        expected = expected || (dot != std::wstring::npos &&
                                (entry.match == mediaformats::Match::Within
                                     ? std::search(extension.begin(), extension.end(), accepted.begin(),
                                                   accepted.end()) != extension.end()
                                     : extension == accepted));
    }
    FUZZ_CHECK(mediaformats::isAcceptedPath(path) == expected);
    FUZZ_CHECK(mediaformats::isAcceptedPath(lower) == expected);

    const int type = pathrules::playerTypeFor(path);
    FUZZ_CHECK(type == ((extension == L"swf" || extension == L"fla") ? PlayerFlash : PlayerVlc));
    return 0;
}
