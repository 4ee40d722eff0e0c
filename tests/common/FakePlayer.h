#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "playback/MediaPlayer.h"
#include "playback/PlayLogic.h"
#include "playback/PlaybackView.h"
#include "playback/WatchRules.h"
#include "playback/ResumeStore.h"

// Every feature the library's player has, and a film's tracks as the library names them.
constexpr unsigned kAllFeatures = FeatureAudioTracks | FeatureSubtitleTracks | FeatureSubtitleFiles |
                                  FeatureRate | FeatureOnScreenText | FeatureChapters | FeatureSubtitleDelay |
                                  FeatureAudioDelay;
inline const std::vector<MediaTrack> kFilmAudio = {{1, L"Low tone - [English]"}, {2, L"Track 2 - [French]"}};
inline const std::vector<MediaTrack> kFilmSubtitles = {{3, L"Track 1 - [English]"},
                                                       {4, L"Signs & songs - [German]"}};
inline const std::vector<MediaChapter> kFilmChapters = {{0, L"Opening"}, {20000, L""}, {40000, L"The Storm"}};

// A player the tests control, for every test folder: it plays, pauses, stops and seeks at once, opens
// what it is told to, and records every call. What the fake players of one test did, and how they should
// behave, is kept in a log that outlives the players, which the controller creates and deletes as it likes.
struct FakePlayerLog {
    // Behaviour of every fake made from now on.
    PlayerType reportedType = PlayerVlc;  // what playerType() answers
    bool initResult = true;
    std::set<std::wstring> unloadable;  // paths whose open fails
    bool stuckPlaying = false;          // isPlaying stays true whatever happens
    // The time stays where it was after a seek until the test lets the seek arrive, as libvlc moves its
    // time a while after it is asked to.
    bool seeksLag = false;
    std::function<void()> onRelease;  // runs inside every release

    // Shared player state, as the library would report it.
    int state = StateNothing;
    std::int64_t time = 1000;
    std::int64_t length = 60000;
    int volume = 100;
    bool mute = false;
    bool video = true;
    // Tracks, rate and on-screen text: what features() answers, the tracks of the file, the current
    // ones (kNoTrack: none), the rate. A subtitle file added becomes the last track, "Track <n>", and
    // the current one. Without a feature its operations do nothing, as the real player's do.
    unsigned features = kAllFeatures;
    std::vector<MediaTrack> audioTracks;
    std::vector<MediaTrack> subtitleTracks;
    int audioTrack = kNoTrack;
    int subtitleTrack = kNoTrack;
    float rate = 1.0f;
    // Chapters: a chapter chosen moves the time to its start (as a seek does). The delays go with the file
    // (open, stop).
    std::vector<MediaChapter> chapters;
    std::int64_t subtitleDelay = 0;
    std::int64_t audioDelay = 0;

    // What happened.
    std::vector<int> createdTypes;  // every factory call
    std::vector<std::string> calls;
    std::vector<std::wstring> opened;
    std::vector<std::int64_t> seeks;
    std::vector<int> volumesSet;
    std::vector<int> audioChoices;  // every setAudioTrack, accepted or not
    std::vector<int> subtitleChoices;
    std::vector<float> ratesSet;
    std::vector<std::wstring> subtitleFiles;
    std::vector<std::pair<std::wstring, int>> textsShown;  // as asked
    int textsTakenOff = 0;                                 // asked with no text or no time
    int releases = 0;
    int deletions = 0;
    int toggles = 0;
    std::set<DWORD> callingThreads;

    void record(const char* call) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(call);
        callingThreads.insert(GetCurrentThreadId());
    }
    int countOf(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) {
            n += c == call ? 1 : 0;
        }
        return n;
    }
    void forget() {
        calls.clear();
        opened.clear();
        seeks.clear();
        volumesSet.clear();
        audioChoices.clear();
        subtitleChoices.clear();
        ratesSet.clear();
        subtitleFiles.clear();
        textsShown.clear();
        textsTakenOff = 0;
        toggles = 0;
    }
    bool has(PlayerFeature feature) const { return (features & feature) != 0; }
    static bool listed(const std::vector<MediaTrack>& tracks, int id) {
        return std::any_of(tracks.begin(), tracks.end(),
                           [id](const MediaTrack& track) { return track.id == id; });
    }

    std::mutex mutex;
};

class FakePlayer : public MediaPlayer {
public:
    explicit FakePlayer(std::shared_ptr<FakePlayerLog> log) : log_(std::move(log)) {}
    ~FakePlayer() override { ++log_->deletions; }

    PlayerType playerType() override { return log_->reportedType; }
    bool init(OutputWindow) override {
        log_->record("init");
        return log_->initResult;
    }
    void release() override {
        log_->record("release");
        ++log_->releases;
        if (log_->onRelease) {
            log_->onRelease();
        }
    }
    bool open(const wchar_t* path) override {
        log_->record("open");
        log_->opened.push_back(path);
        if (log_->unloadable.count(path) != 0) {
            return false;
        }
        log_->state = StateNothing;
        log_->subtitleDelay = log_->audioDelay = 0;
        return true;
    }
    void play() override {
        log_->record("play");
        log_->state = StatePlaying;
    }
    bool isPlaying() override {
        log_->record("isPlaying");
        return log_->stuckPlaying || log_->state == StatePlaying;
    }
    void pause() override {
        log_->record("pause");
        log_->state = StatePaused;
    }
    void stop() override {
        log_->record("stop");
        log_->state = StateStopped;
        log_->subtitleDelay = log_->audioDelay = 0;
        cachedLength = 0;
    }
    std::int64_t getTime() override {
        log_->record("getTime");
        return log_->time;
    }
    std::int64_t getLength() override {
        log_->record("getLength");
        return log_->length;
    }
    void setTime(std::int64_t ms) override {
        log_->record("setTime");
        log_->seeks.push_back(ms);
        if (!log_->seeksLag) {
            log_->time = ms;
        }
    }
    int getVolume() override {
        log_->record("getVolume");
        return log_->volume;
    }
    bool setVolume(int percent) override {
        log_->record("setVolume");
        log_->volumesSet.push_back(percent);
        log_->volume = percent;
        return true;
    }
    int getState() override {
        log_->record("getState");
        return log_->state;
    }
    void setHwnd(OutputWindow) override { log_->record("setHwnd"); }
    bool isMute() override {
        log_->record("isMute");
        return log_->mute;
    }
    void toggleMute() override {
        log_->record("toggleMute");
        ++log_->toggles;
        log_->mute = !log_->mute;
    }
    bool hasVideo() override {
        log_->record("hasVideo");
        return log_->video;
    }
    unsigned features() override { return log_->features; }
    std::vector<MediaTrack> audioTracks() override {
        return log_->has(FeatureAudioTracks) ? log_->audioTracks : std::vector<MediaTrack>();
    }
    int currentAudioTrack() override { return log_->has(FeatureAudioTracks) ? log_->audioTrack : kNoTrack; }
    bool setAudioTrack(int id) override {
        log_->record("setAudioTrack");
        log_->audioChoices.push_back(id);
        const bool ok = log_->has(FeatureAudioTracks) && FakePlayerLog::listed(log_->audioTracks, id);
        log_->audioTrack = ok ? id : log_->audioTrack;
        return ok;
    }
    std::vector<MediaTrack> subtitleTracks() override {
        return log_->has(FeatureSubtitleTracks) ? log_->subtitleTracks : std::vector<MediaTrack>();
    }
    int currentSubtitleTrack() override {
        return log_->has(FeatureSubtitleTracks) ? log_->subtitleTrack : kNoTrack;
    }
    bool setSubtitleTrack(int id) override {
        log_->record("setSubtitleTrack");
        log_->subtitleChoices.push_back(id);
        const bool ok = log_->has(FeatureSubtitleTracks) &&
                        (id == kNoTrack || FakePlayerLog::listed(log_->subtitleTracks, id));
        log_->subtitleTrack = ok ? id : log_->subtitleTrack;
        return ok;
    }
    bool addSubtitleFile(const wchar_t* path) override {
        log_->record("addSubtitleFile");
        log_->subtitleFiles.push_back(path);
        if (!log_->has(FeatureSubtitleFiles)) {
            return false;
        }
        const int id = log_->subtitleTracks.empty() ? 100 : log_->subtitleTracks.back().id + 1;
        const std::wstring name = L"Track " + std::to_wstring(log_->subtitleTracks.size() + 1);
        log_->subtitleTracks.push_back({id, name});
        log_->subtitleTrack = id;
        return true;
    }
    float getRate() override { return log_->has(FeatureRate) ? log_->rate : 1.0f; }
    bool setRate(float rate) override {
        log_->record("setRate");
        log_->ratesSet.push_back(rate);
        log_->rate = log_->has(FeatureRate) ? rate : log_->rate;
        return log_->has(FeatureRate);
    }
    void showText(const wchar_t* text, int durationMs) override {
        log_->record("showText");
        if (!log_->has(FeatureOnScreenText)) {
            return;
        }
        if (text == nullptr || *text == L'\0' || durationMs <= 0) {
            ++log_->textsTakenOff;
        } else {
            log_->textsShown.emplace_back(text, durationMs);
        }
    }

    std::vector<MediaChapter> chapters() override {
        return log_->has(FeatureChapters) ? log_->chapters : std::vector<MediaChapter>();
    }
    int currentChapter() override {
        return log_->has(FeatureChapters) ? watching::chapterAt(log_->chapters, log_->time) : -1;
    }
    bool setChapter(int index) override {
        log_->record("setChapter");
        if (!log_->has(FeatureChapters) || index < 0 || index >= static_cast<int>(log_->chapters.size())) {
            return false;
        }
        if (!log_->seeksLag) {
            log_->time = log_->chapters[static_cast<std::size_t>(index)].start;
        }
        return true;
    }
    std::int64_t subtitleDelay() override { return log_->subtitleDelay; }
    bool setSubtitleDelay(std::int64_t ms) override {
        return setDelay("setSubtitleDelay", log_->subtitleDelay, ms);
    }
    std::int64_t audioDelay() override { return log_->audioDelay; }
    bool setAudioDelay(std::int64_t ms) override { return setDelay("setAudioDelay", log_->audioDelay, ms); }

private:
    bool setDelay(const char* call, std::int64_t& delay, std::int64_t ms) {
        log_->record(call);
        const PlayerFeature feature = &delay == &log_->audioDelay ? FeatureAudioDelay : FeatureSubtitleDelay;
        delay = log_->has(feature) ? ms : delay;
        return log_->has(feature);
    }

    std::shared_ptr<FakePlayerLog> log_;
};

// A factory that makes fakes for the given types only (type 2 has no backend in the real program).
inline PlayLogic::PlayerFactory fakeFactory(const std::shared_ptr<FakePlayerLog>& log,
                                            std::set<int> types = {PlayerVlc}) {
    return [log, types](int type) -> std::unique_ptr<MediaPlayer> {
        log->createdTypes.push_back(type);
        if (types.count(type) == 0) {
            return nullptr;
        }
        return std::make_unique<FakePlayer>(log);
    };
}

// The windows a controller shows playback in, as a test sees them: a video surface that is shown or
// hidden, the positions the time display was told, and the names of the calls the controller made.
struct RecordingView final : PlaybackView {
    bool surfaceShown = false;
    std::vector<std::int64_t> positions;
    std::vector<Change> told;
    std::vector<std::string> calls;
    std::vector<std::wstring> chosenFiles;  // every file the controller said the user chose

    OutputWindow ownerWindow() override { return nullptr; }
    bool prepareSurface(PlayerType) override {
        calls.push_back("prepareSurface");
        surfaceShown = false;
        return true;
    }
    OutputWindow surfaceWindow() override { return nullptr; }
    void showSurface(bool show) override {
        calls.push_back(show ? "showSurface" : "hideSurface");
        surfaceShown = show;
    }
    bool surfaceHidden() override { return !surfaceShown; }
    void updateButtons() override { calls.push_back("updateButtons"); }
    void refreshTime() override { calls.push_back("refreshTime"); }
    void refreshVolume() override { calls.push_back("refreshVolume"); }
    void showPosition(std::int64_t positionMs) override { positions.push_back(positionMs); }
    void tell(const Change& change) override { told.push_back(change); }
    void resetBarAfterStop() override { calls.push_back("resetBarAfterStop"); }
    void playbackStarted() override { calls.push_back("playbackStarted"); }
    void fileChosen(const std::wstring& path) override { chosenFiles.push_back(path); }
};

// Where the viewer left each file, as a test sees it: the places by path, and how often one was written.
struct MemoryResumeStore final : ResumeStore {
    std::map<std::wstring, std::int64_t> places;
    int writes = 0;  // remembered or forgotten

    std::int64_t recall(const std::wstring& file) override { return places.count(file) ? places[file] : -1; }
    void remember(const std::wstring& file, std::int64_t ms) override { ++writes, places[file] = ms; }
    void forget(const std::wstring& file) override { ++writes, places.erase(file); }
};
