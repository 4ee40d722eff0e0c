#include "playback/VlcPlayer.h"

#include <iterator>
#include <utility>

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
