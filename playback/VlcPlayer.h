#pragma once

#include <string>
#include <vector>

#include "playback/MediaPlayer.h"

struct VlcApi;
// The library's objects, declared here so that including this header doesn't take in the library's own.
struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;
struct libvlc_event_manager_t;
struct libvlc_event_t;

// The libvlc backend. The library is reached through the table of VlcApi.h: loaded at run time on
// Windows, linked directly in the native build.
class VlcPlayer : public MediaPlayer {
public:
    // The player always starts the library with the same three arguments; tests may add their own
    // after them (headless runs need "--aout=dummy" and "--vout=dummy").
    explicit VlcPlayer(std::vector<std::string> extraArguments = {});
    ~VlcPlayer() override;
    VlcPlayer(const VlcPlayer&) = delete;
    VlcPlayer& operator=(const VlcPlayer&) = delete;

    PlayerType playerType() override { return PlayerVlc; }
    bool init(OutputWindow owner) override;
    void release() override;
    bool open(const wchar_t* path) override;
    void play() override;
    bool isPlaying() override;
    void pause() override;
    void stop() override;
    std::int64_t getTime() override;
    std::int64_t getLength() override;
    void setTime(std::int64_t ms) override;
    int getVolume() override;
    bool setVolume(int percent) override;
    int getState() override;
    void setHwnd(OutputWindow window) override;
    bool isMute() override;
    void toggleMute() override;
    bool hasVideo() override;
    // Attaches to time changed, playing, paused, stopped and end reached, in that order.
    bool setEventSink(PlayerEventSink sink) override;
    // What the library's optional entries allow (featuresOf), once there is a media player.
    unsigned features() override;
    std::vector<MediaTrack> audioTracks() override;
    int currentAudioTrack() override;
    bool setAudioTrack(int id) override;
    std::vector<MediaTrack> subtitleTracks() override;
    int currentSubtitleTrack() override;
    bool setSubtitleTrack(int id) override;
    // Hands the library the file's file:/// address (FileUrl.h) as a subtitle slave, selected.
    bool addSubtitleFile(const wchar_t* path) override;
    float getRate() override;
    bool setRate(float rate) override;
    // Through the library's marquee; see MediaPlayer::showText.
    void showText(const wchar_t* text, int durationMs) override;
    // The chapters of the current title, their names without the blanks the library puts before them.
    std::vector<MediaChapter> chapters() override;
    int currentChapter() override;
    bool setChapter(int index) override;
    // The library counts the delays in microseconds.
    std::int64_t subtitleDelay() override;
    bool setSubtitleDelay(std::int64_t ms) override;
    std::int64_t audioDelay() override;
    bool setAudioDelay(std::int64_t ms) override;

    bool hasEventManager() const { return eventManager_ != nullptr; }
    const std::string& versionText() const { return versionText_; }

private:
    // The library's callback, on its own thread: hands the event's type to the sink.
    static void forwardEvent(const libvlc_event_t* event, void* self);

    // Without a media player (before init, after release, or when init failed) every operation
    // answers 0 or false.
    bool hasMediaPlayer() const { return mediaPlayer_ != nullptr; }
    bool can(PlayerFeature feature) { return (features() & feature) != 0; }

    std::string versionText_;
    libvlc_instance_t* instance_ = nullptr;
    libvlc_media_player_t* mediaPlayer_ = nullptr;
    libvlc_media_t* media_ = nullptr;
    libvlc_event_manager_t* eventManager_ = nullptr;
    PlayerEventSink sink_ = nullptr;  // set while the events are attached
    std::vector<std::string> extraArguments_;
    // Taken at construction; null when the library isn't available.
    const VlcApi* api_ = nullptr;
};
