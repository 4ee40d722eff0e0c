#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "playback/MediaPlayer.h"
#include "playback/PlayLogic.h"
#include "playback/PlaybackView.h"

// A player the tests control, for every test folder: it plays, pauses, stops and seeks at once, opens
// what it is told to, and records every call. What the fake players of one test did, and how they should
// behave, is kept in a log that outlives the players, which the controller creates and deletes as it likes.
struct FakePlayerLog {
    // Behaviour of every fake made from now on.
    PlayerType reportedType = PlayerVlc;  // what playerType() answers
    bool initResult = true;
    std::set<std::wstring> unloadable;  // paths whose open fails
    bool stuckPlaying = false;          // isPlaying stays true whatever happens
    std::function<void()> onRelease;    // runs inside every release

    // Shared player state, as the library would report it.
    int state = StateNothing;
    std::int64_t time = 1000;
    std::int64_t length = 60000;
    int volume = 100;
    bool mute = false;
    bool video = true;

    // What happened.
    std::vector<int> createdTypes;  // every factory call
    std::vector<std::string> calls;
    std::vector<std::wstring> opened;
    std::vector<std::int64_t> seeks;
    std::vector<int> volumesSet;
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
        toggles = 0;
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
        log_->time = ms;
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

private:
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
// hidden, and the names of the calls the controller made.
struct RecordingView final : PlaybackView {
    bool surfaceShown = false;
    std::vector<std::string> calls;
    std::vector<std::wstring> openedFiles;  // every file the controller said opened

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
    void resetBarAfterStop() override { calls.push_back("resetBarAfterStop"); }
    void fileOpened(const std::wstring& path) override { openedFiles.push_back(path); }
};
