#include "playback/MediaFormats.h"

#include "playback/PathRules.h"

namespace mediaformats {

namespace {

bool matches(const MediaExtension& entry, const std::wstring& extension) {
    return entry.match == Match::Within ? extension.find(entry.name) != std::wstring::npos
                                        : extension == entry.name;
}

template <class Keep>
std::wstring patternsOf(Keep keep) {
    std::wstring text;
    for (const MediaExtension& entry : kMediaExtensions) {
        if (keep(entry)) {
            text += (text.empty() ? L"*." : L";*.") + std::wstring(entry.name);
        }
    }
    return text;
}

}  // namespace

bool isAcceptedPath(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) {
        return false;
    }
    const std::wstring extension = asciiLowerCase(path.substr(dot + 1));
    for (const MediaExtension& entry : kMediaExtensions) {
        if (matches(entry, extension)) {
            return true;
        }
    }
    return false;
}

bool isSubtitlePath(const std::wstring& path) {
    const std::size_t dot = path.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : asciiLowerCase(path.substr(dot + 1));
    for (const wchar_t* name : kSubtitleExtensions) {
        if (extension == name) {
            return true;
        }
    }
    return false;
}

std::wstring subtitlePatterns() {
    std::wstring text;
    for (const wchar_t* name : kSubtitleExtensions) {
        text += (text.empty() ? L"*." : L";*.") + std::wstring(name);
    }
    return text;
}

std::wstring patterns() {
    return patternsOf([](const MediaExtension&) { return true; });
}

std::wstring patterns(MediaKind kind) {
    return patternsOf([kind](const MediaExtension& entry) { return entry.kind == kind; });
}

}  // namespace mediaformats
