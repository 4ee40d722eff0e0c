#include "app/MediaPlayerApp.h"

namespace identity {
const wchar_t kProductName[] = L"Velmora Player";
const wchar_t kFileFilter[] = L"Media Files (*.mpg)\0*.mpg\0";
// The advertisement server; only the host is ours to choose.
const wchar_t kAdsUrl[] = L"http://ads.corvanta.com/ads/velmoraplayer/ads.php";
const wchar_t kMakerName[] = L"Corvanta";
const wchar_t kShortProductName[] = L"VelmoraPlayer";
}  // namespace identity

const wchar_t* MediaPlayerApp::productName() const {
    return identity::kProductName;
}
const wchar_t* MediaPlayerApp::fileFilter() const {
    return identity::kFileFilter;
}
const wchar_t* MediaPlayerApp::adsUrl() const {
    return identity::kAdsUrl;
}
