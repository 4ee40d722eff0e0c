#include "playback/VlcPlayer.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "playback/FileUrl.h"
#include "playback/VlcApi.h"
#include "playback/VlcPlatform.h"

namespace {

// The library's own title overlay and its key and mouse handling would fight the program's windows.
const char* const kFixedArguments[] = {"--no-video-title-show", "--no-keyboard-events", "--no-mouse-events"};

constexpr bool sameNumber(PlayerEvent ours, libvlc_event_e library) {
    return static_cast<int>(ours) == static_cast<int>(library);
}
static_assert(sameNumber(EventPlaying, libvlc_MediaPlayerPlaying) &&
                  sameNumber(EventPaused, libvlc_MediaPlayerPaused) &&
                  sameNumber(EventStopped, libvlc_MediaPlayerStopped) &&
                  sameNumber(EventEndReached, libvlc_MediaPlayerEndReached) &&
                  sameNumber(EventTimeChanged, libvlc_MediaPlayerTimeChanged),
              "the player's events are numbered as the library numbers them");

const libvlc_event_e kAttachedEvents[] = {libvlc_MediaPlayerTimeChanged, libvlc_MediaPlayerPlaying,
                                          libvlc_MediaPlayerPaused, libvlc_MediaPlayerStopped,
                                          libvlc_MediaPlayerEndReached};

}  // namespace

VlcPlayer::VlcPlayer(std::vector<std::string> extraArguments)
    : extraArguments_(std::move(extraArguments)), api_(vlcApi()) {
    if (api_) {
        const char* version = api_->libvlc_get_version();
        if (version) {
            versionText_ = version;
        }
    }
}

VlcPlayer::~VlcPlayer() {
    VlcPlayer::release();
}

bool VlcPlayer::init(OutputWindow) {
    if (!api_) {
        return false;
    }
    if (instance_) {
        // Already initialised: a second set of library objects would leak the first.
        return hasMediaPlayer() && eventManager_;
    }
    std::vector<const char*> arguments(std::begin(kFixedArguments), std::end(kFixedArguments));
    for (const std::string& argument : extraArguments_) {
        arguments.push_back(argument.c_str());
    }
    instance_ = api_->libvlc_new(static_cast<int>(arguments.size()), arguments.data());
    if (!instance_) {
        return false;
    }
    mediaPlayer_ = api_->libvlc_media_player_new(instance_);
    if (!mediaPlayer_) {
        return false;
    }
    eventManager_ = api_->libvlc_media_player_event_manager(mediaPlayer_);
    if (!eventManager_) {
        return false;
    }
    // Double-clicks and the context menu over the video belong to the program's own windows.
    api_->libvlc_video_set_key_input(mediaPlayer_, 0);
    api_->libvlc_video_set_mouse_input(mediaPlayer_, 0);
    return true;
}

void VlcPlayer::release() {
    // The media player first: it holds references to the media and the instance.
    if (mediaPlayer_) {
        api_->libvlc_media_player_release(mediaPlayer_);
        mediaPlayer_ = nullptr;
    }
    // The event manager belongs to the media player and went with it, and with it what was attached.
    eventManager_ = nullptr;
    sink_ = nullptr;
    if (media_) {
        api_->libvlc_media_release(media_);
        media_ = nullptr;
    }
    if (instance_) {
        api_->libvlc_release(instance_);
        instance_ = nullptr;
    }
}

bool VlcPlayer::open(const wchar_t* path) {
    std::string utf8;
    if (!path || !pathToUtf8(path, utf8)) {
        return false;
    }
    if (!hasMediaPlayer()) {
        return false;
    }
    if (isPlaying()) {
        stop();
    }
    libvlc_media_t* media = api_->libvlc_media_new_path(instance_, utf8.c_str());
    // Only one media reference at a time: the media player keeps its own reference to what it plays.
    if (media_) {
        api_->libvlc_media_release(media_);
    }
    media_ = media;
    if (!media_) {
        return false;
    }
    api_->libvlc_media_player_set_media(mediaPlayer_, media_);
    return true;
}

void VlcPlayer::play() {
    if (hasMediaPlayer()) {
        api_->libvlc_media_player_play(mediaPlayer_);
    }
}

bool VlcPlayer::isPlaying() {
    return hasMediaPlayer() && api_->libvlc_media_player_is_playing(mediaPlayer_) != 0;
}

void VlcPlayer::pause() {
    if (hasMediaPlayer()) {
        api_->libvlc_media_player_pause(mediaPlayer_);
    }
}

void VlcPlayer::stop() {
    if (hasMediaPlayer()) {
        api_->libvlc_media_player_stop(mediaPlayer_);
    }
    cachedLength = 0;
}

std::int64_t VlcPlayer::getTime() {
    return hasMediaPlayer() ? api_->libvlc_media_player_get_time(mediaPlayer_) : 0;
}

std::int64_t VlcPlayer::getLength() {
    if (!hasMediaPlayer()) {
        return 0;
    }
    // Once known, the length stays until stop: the 260 ms tick and every time event ask for it.
    if (cachedLength > 0) {
        return cachedLength;
    }
    cachedLength = api_->libvlc_media_player_get_length(mediaPlayer_);
    return cachedLength;
}

void VlcPlayer::setTime(std::int64_t ms) {
    if (hasMediaPlayer()) {
        api_->libvlc_media_player_set_time(mediaPlayer_, ms);
    }
}

int VlcPlayer::getVolume() {
    return hasMediaPlayer() ? api_->libvlc_audio_get_volume(mediaPlayer_) : 0;
}

bool VlcPlayer::setVolume(int percent) {
    return hasMediaPlayer() && api_->libvlc_audio_set_volume(mediaPlayer_, percent) == 0;
}

int VlcPlayer::getState() {
    return hasMediaPlayer() ? static_cast<int>(api_->libvlc_media_player_get_state(mediaPlayer_)) : 0;
}

void VlcPlayer::setHwnd(OutputWindow window) {
    if (hasMediaPlayer()) {
        setOutputWindow(*api_, mediaPlayer_, window);
    }
}

bool VlcPlayer::isMute() {
    return hasMediaPlayer() && api_->libvlc_audio_get_mute(mediaPlayer_) != 0;
}

void VlcPlayer::toggleMute() {
    if (hasMediaPlayer()) {
        bool muted = isMute();
        api_->libvlc_audio_set_mute(mediaPlayer_, muted ? 0 : 1);
    }
}

bool VlcPlayer::hasVideo() {
    return hasMediaPlayer() && api_->libvlc_video_get_track_count(mediaPlayer_) != 0;
}

bool VlcPlayer::setEventSink(PlayerEventSink sink) {
    // A null sink would be called all the same, on the library's thread; a second one would get every
    // event twice.
    if (!eventManager_ || !sink || sink_) {
        return false;
    }
    sink_ = sink;
    for (libvlc_event_e type : kAttachedEvents) {
        api_->libvlc_event_attach(eventManager_, type, &VlcPlayer::forwardEvent, this);
    }
    return true;
}

void VlcPlayer::forwardEvent(const libvlc_event_t* event, void* self) {
    if (event != nullptr) {
        static_cast<VlcPlayer*>(self)->sink_(event->type);
    }
}

namespace {

// The rates the library plays, from a 32nd of normal speed to 32 times.
constexpr float kSlowestRate = 1.0f / 32;
constexpr float kFastestRate = 32.0f;

// The marquee's place, as the library's bit set: left 1, right 2, top 4, bottom 8 (subtitles are at the
// bottom).
constexpr int kMarqueeTopLeft = 4 | 1;
constexpr int kMarqueeWhite = 0xFFFFFF;
constexpr int kMarqueeOpaque = 255;
// The library's own text size, which follows the video's height as subtitles do.
constexpr int kMarqueeLibrarySize = 0;
// The gap to the picture's edges, in the video's pixels: a 40th of its height, 8 while it is unknown.
constexpr unsigned kMarginPerHeight = 40;
constexpr int kUnknownSizeMargin = 8;
constexpr int kSmallestMargin = 4;

// The tracks of a list the library made, without its "Disable" entry; the list is given back.
std::vector<MediaTrack> tracksOf(const VlcApi& api, libvlc_track_description_t* list) {
    const auto release = [&api](libvlc_track_description_t* l) {
        api.libvlc_track_description_list_release(l);
    };
    const std::unique_ptr<libvlc_track_description_t, decltype(release)> owned(list, release);
    std::vector<MediaTrack> tracks;
    for (const libvlc_track_description_t* d = list; d != nullptr; d = d->p_next) {
        if (d->i_id != kNoTrack) {
            tracks.push_back({d->i_id, textFromUtf8(d->psz_name != nullptr ? d->psz_name : "")});
        }
    }
    return tracks;
}

// The marquee takes its text as a time format (as strftime does, so that "%H:%M" shows a clock) on every
// refresh: each '%' is doubled to stand for itself. A lone one ("Volume 80 %") is an invalid format to
// the Windows C runtime, which the library would retry without end.
std::string literalMarqueeText(const std::string& utf8) {
    std::string literal;
    literal.reserve(utf8.size());
    for (const char c : utf8) {
        literal += c;
        if (c == '%') {
            literal += '%';
        }
    }
    return literal;
}

}  // namespace

unsigned VlcPlayer::features() {
    return hasMediaPlayer() ? featuresOf(*api_) : 0;
}

std::vector<MediaTrack> VlcPlayer::audioTracks() {
    return can(FeatureAudioTracks) ? tracksOf(*api_, api_->libvlc_audio_get_track_description(mediaPlayer_))
                                   : std::vector<MediaTrack>{};
}

int VlcPlayer::currentAudioTrack() {
    return can(FeatureAudioTracks) ? api_->libvlc_audio_get_track(mediaPlayer_) : kNoTrack;
}

bool VlcPlayer::setAudioTrack(int id) {
    // The library would take the id of its "Disable" entry as silence; there is no such choice here.
    return id != kNoTrack && can(FeatureAudioTracks) && api_->libvlc_audio_set_track(mediaPlayer_, id) == 0;
}

std::vector<MediaTrack> VlcPlayer::subtitleTracks() {
    return can(FeatureSubtitleTracks) ? tracksOf(*api_, api_->libvlc_video_get_spu_description(mediaPlayer_))
                                      : std::vector<MediaTrack>{};
}

int VlcPlayer::currentSubtitleTrack() {
    return can(FeatureSubtitleTracks) ? api_->libvlc_video_get_spu(mediaPlayer_) : kNoTrack;
}

bool VlcPlayer::setSubtitleTrack(int id) {
    return can(FeatureSubtitleTracks) && api_->libvlc_video_set_spu(mediaPlayer_, id) == 0;
}

bool VlcPlayer::addSubtitleFile(const wchar_t* path) {
    std::string url;
    if (!can(FeatureSubtitleFiles) || !fileUrlOfPath(path, url)) {
        return false;
    }
    return api_->libvlc_media_player_add_slave(mediaPlayer_, libvlc_media_slave_type_subtitle, url.c_str(),
                                               true) == 0;
}

float VlcPlayer::getRate() {
    return can(FeatureRate) ? api_->libvlc_media_player_get_rate(mediaPlayer_) : 1.0f;
}

bool VlcPlayer::setRate(float rate) {
    // Written so that NaN fails too.
    if (!(rate >= kSlowestRate && rate <= kFastestRate) || !can(FeatureRate)) {
        return false;
    }
    return api_->libvlc_media_player_set_rate(mediaPlayer_, rate) == 0;
}

void VlcPlayer::showText(const wchar_t* text, int durationMs) {
    if (!can(FeatureOnScreenText)) {
        return;
    }
    std::string utf8;
    if (text == nullptr || *text == L'\0' || durationMs <= 0 || !pathToUtf8(text, utf8)) {
        api_->libvlc_video_set_marquee_int(mediaPlayer_, libvlc_marquee_Enable, 0);
        return;
    }
    int margin = kUnknownSizeMargin;
    unsigned width = 0;
    unsigned height = 0;
    if (api_->libvlc_video_get_size && api_->libvlc_video_get_size(mediaPlayer_, 0, &width, &height) == 0 &&
        height > 0) {
        margin = std::max(kSmallestMargin, static_cast<int>(height / kMarginPerHeight));
    }
    const std::pair<libvlc_video_marquee_option_t, int> settings[] = {
        {libvlc_marquee_Position, kMarqueeTopLeft},
        {libvlc_marquee_X, margin},
        {libvlc_marquee_Y, margin},
        {libvlc_marquee_Color, kMarqueeWhite},
        {libvlc_marquee_Opacity, kMarqueeOpaque},
        {libvlc_marquee_Size, kMarqueeLibrarySize},
        {libvlc_marquee_Timeout, durationMs}};
    for (const auto& setting : settings) {
        api_->libvlc_video_set_marquee_int(mediaPlayer_, setting.first, setting.second);
    }
    // A new text shows at once and for the whole timeout, even the same text again; enabling adds the
    // library's marquee to the picture the first time (only once the video is shown).
    api_->libvlc_video_set_marquee_string(mediaPlayer_, libvlc_marquee_Text,
                                          literalMarqueeText(utf8).c_str());
    api_->libvlc_video_set_marquee_int(mediaPlayer_, libvlc_marquee_Enable, 1);
}
