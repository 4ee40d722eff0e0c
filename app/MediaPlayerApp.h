#pragma once

// The application's identity: the product name, the open dialog's filter and the advertisement address.
class MediaPlayerApp {
public:
    virtual ~MediaPlayerApp() = default;
    const wchar_t* productName() const;
    const wchar_t* fileFilter() const;
    const wchar_t* adsUrl() const;
};

class VelmoraPlayer : public MediaPlayerApp {};

// The same strings without an application object (start-up may run without one).
namespace identity {
extern const wchar_t kProductName[];
// The open dialog's filters: pairs of description and patterns, ended by an empty string. "Media Files"
// (every accepted extension) comes first, then "Video Files", "Audio Files" and "All Files (*.*)".
const wchar_t* fileFilter();
// The filters of the dialog that loads a subtitle file: "Subtitle Files", then "All Files (*.*)".
const wchar_t* subtitleFilter();
extern const wchar_t kAdsUrl[];
extern const wchar_t kMakerName[];         // the maker word of the placement key
extern const wchar_t kShortProductName[];  // the product word of the placement key
}  // namespace identity
