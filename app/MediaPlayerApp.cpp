#include "app/MediaPlayerApp.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "playback/MediaFormats.h"

namespace {

// Pairs of description and patterns, each ended by a NUL, as the open dialog reads them.
std::wstring joinFilter(std::initializer_list<std::pair<std::wstring, std::wstring>> pairs) {
    std::wstring filter;
    for (const auto& pair : pairs) {
        filter += pair.first + L'\0' + pair.second + L'\0';
    }
    return filter;  // its terminator ends the list
}

std::wstring composeFileFilter() {
    using mediaformats::MediaKind;
    return joinFilter({
        {L"Media Files", mediaformats::patterns()},
        {L"Video Files", mediaformats::patterns(MediaKind::Video)},
        {L"Audio Files", mediaformats::patterns(MediaKind::Audio)},
        {L"All Files (*.*)", L"*.*"},
    });
}

}  // namespace

namespace identity {
const wchar_t kProductName[] = L"Velmora Player";
// The advertisement server; only the host is ours to choose.
const wchar_t kAdsUrl[] = L"http://ads.corvanta.com/ads/velmoraplayer/ads.php";
const wchar_t kMakerName[] = L"Corvanta";
const wchar_t kShortProductName[] = L"VelmoraPlayer";

const wchar_t* fileFilter() {
    static const std::wstring filter = composeFileFilter();
    return filter.c_str();
}

const wchar_t* subtitleFilter() {
    static const std::wstring filter =
        joinFilter({{L"Subtitle Files", mediaformats::subtitlePatterns()}, {L"All Files (*.*)", L"*.*"}});
    return filter.c_str();
}
}  // namespace identity

const wchar_t* MediaPlayerApp::productName() const {
    return identity::kProductName;
}
const wchar_t* MediaPlayerApp::fileFilter() const {
    return identity::fileFilter();
}
const wchar_t* MediaPlayerApp::adsUrl() const {
    return identity::kAdsUrl;
}
