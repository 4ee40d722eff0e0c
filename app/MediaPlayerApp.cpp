#include "app/MediaPlayerApp.h"

#include <string>

#include "playback/MediaFormats.h"

namespace {

std::wstring composeFileFilter() {
    using mediaformats::MediaKind;
    const std::wstring pairs[][2] = {
        {L"Media Files", mediaformats::patterns()},
        {L"Video Files", mediaformats::patterns(MediaKind::Video)},
        {L"Audio Files", mediaformats::patterns(MediaKind::Audio)},
        {L"All Files (*.*)", L"*.*"},
    };
    std::wstring filter;
    for (const auto& pair : pairs) {
        filter += pair[0] + L'\0' + pair[1] + L'\0';
    }
    return filter;  // its terminator ends the list
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
