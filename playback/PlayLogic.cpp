#include "playback/PlayLogic.h"

#include <windows.h>

#include <algorithm>
#include <thread>
#include <system_error>
#include <mutex>

#include "playback/PlaybackView.h"
#include "playback/PlayerEventWindow.h"
#include "playback/VlcPlayer.h"

namespace {

// pause and stop wait for the library to leave the playing state, but a media that can't be paused
// must not freeze the window: after 3 s the command goes on as if it had taken effect.
const int kWaitPollMs = 100;
const int kWaitPolls = 30;

const int kVolumeStep = 10;

// A file libvlc plays without ever getting a picture, a sound or a time out of it (a partly downloaded
// video still full of zeros, or anything else that only looks like media) reports playing at time 0
// while libvlc reads through all of it, minutes for a large file. Counted in the 260 ms ticks while
// playing: after 2 s at time 0 Next and Previous no longer wait for it to start, and after 8 s it counts
// as ended, as a small file of that kind does at once. A playable file's time moves within a second.
const int kSkipWaitTicks = 8;
const int kNoStartTicks = 31;

int clampPercent(int value) {
    return std::clamp(value, 0, 100);
}

std::unique_ptr<MediaPlayer> makeDefaultPlayer(PlayerType playerType) {
    if (playerType == PlayerVlc) {
        return std::make_unique<VlcPlayer>();
    }
    return nullptr;
}

// Not one of the library's events (those are positive): a folder listing is done.
constexpr int kFolderListedEvent = -1;

bool isForwardedEvent(int eventType) {
    return eventType == EventPlaying || eventType == EventPaused || eventType == EventStopped ||
           eventType == EventTimeChanged;
}

// The view of a controller given none: no main window, no video window, no bar.
class NoView final : public PlaybackView {
public:
    OutputWindow ownerWindow() override { return {}; }
    bool prepareSurface(PlayerType) override { return true; }
    OutputWindow surfaceWindow() override { return {}; }
    void showSurface(bool) override {}
    bool surfaceHidden() override { return false; }
    void updateButtons() override {}
    void refreshTime() override {}
    void refreshVolume() override {}
    void showPosition(std::int64_t) override {}
    void tell(const Change&) override {}
    void resetBarAfterStop() override {}
    void playbackStarted() override {}
    void fileChosen(const std::wstring&) override {}
};

PlaybackView& noView() {
    static NoView none;
    return none;
}

}  // namespace

PlayLogic::PlayLogic(PlayerFactory factory, PlaybackView* view, Clock clock)
    : factory_(factory ? std::move(factory) : PlayerFactory(makeDefaultPlayer)),
      view_(view != nullptr ? *view : noView()),
      clock_(clock ? std::move(clock) : Clock([] { return static_cast<std::uint32_t>(GetTickCount()); })),
      eventWindow_(std::make_unique<PlayerEventWindow>(&PlayLogic::deliverEvent, this)) {}

PlayLogic::~PlayLogic() {
    // The player goes first so that its thread has stopped calling handleProc when the window goes.
    releasePlayer();
    eventWindow_.reset();
}

bool PlayLogic::open(const std::wstring& path) {
    if (!openAs(path, playerTypeForPath(path))) {
        return false;
    }
    view_.fileChosen(path);
    return true;
}

bool PlayLogic::openAs(const std::wstring& path, PlayerType playerType) {
    leaveFile(false);
    takeTextOff(true);
    if (!view_.prepareSurface(playerType) || !createMediaPlayer(playerType) || !player_ ||
        !player_->open(path.c_str())) {
        return false;
    }
    pendingSeek_ = {};
    failureTold_ = false;
    setCurrentFile(path);
    readResumeOffer();
    playerKind_ = playerType;
    return true;
}

void PlayLogic::play() {
    if (!player_) {
        if (currentPath_.empty() || !openAs(currentPath_, playerTypeForPath(currentPath_))) {
            stop();
            return;
        }
    }
    if (state() == StatePlaying) {
        return;
    }
    ticksAtTimeZero_ = 0;
    applySpeed();
    player_->play();
    view_.showSurface(player_->hasVideo());
    applyVolume();
    view_.playbackStarted();
}

void PlayLogic::pause() {
    if (!player_ || !player_->isPlaying()) {
        return;
    }
    player_->pause();
    waitUntilNotPlaying();
}

void PlayLogic::stop() {
    leaveFile(false);
    pendingSeek_ = {};
    takeTextOff(true);
    if (player_) {
        player_->stop();
        waitUntilNotPlaying();
    }
    // Played again, the file starts from its beginning: the place just remembered is offered.
    readResumeOffer();
    // The surface keeps the last picture (or black) after a stop; hiding it brings the logo back.
    view_.showSurface(false);
    view_.resetBarAfterStop();
    view_.refreshTime();
}

void PlayLogic::waitUntilNotPlaying() {
    for (int poll = 0; poll < kWaitPolls && player_ && player_->isPlaying(); ++poll) {
        Sleep(kWaitPollMs);
    }
}

bool PlayLogic::isPlaying() {
    return player_ && player_->isPlaying();
}

bool PlayLogic::playingOrPaused() {
    const int now = state();
    return now == StatePlaying || now == StatePaused;
}

void PlayLogic::skip(int direction) {
    step(direction, true);
}

void PlayLogic::step(int direction, bool chosen) {
    if (!playlist_.canStep()) {
        return;
    }
    // A second press before playback has advanced would skip a file the user never saw start; a file
    // that doesn't start at all is not waited for.
    if (state() == StatePlaying && player_->getTime() == 0 && ticksAtTimeZero_ < kSkipWaitTicks) {
        return;
    }
    stop();
    int target = playlist_.currentIndex() + direction;
    while (playlist_.count() > 0) {
        if (target < 0) {
            target = playlist_.count() - 1;
        } else if (target >= playlist_.count()) {
            target = 0;
        }
        const std::wstring path = playlist_.pathAt(target);
        if (openAs(path, playerTypeForPath(path))) {
            playlist_.setCurrent(target);
            if (chosen) {
                view_.fileChosen(path);
            }
            play();
            return;
        }
        // A file that can't be loaded leaves the list; going forward, the next one moves into its place.
        playlist_.removeAt(target);
        if (direction < 0) {
            --target;
        }
    }
}

bool PlayLogic::seek(int direction, std::int64_t stepMs) {
    if (!playingOrPaused()) {
        return false;
    }
    const std::int64_t time = player_->getTime();
    const std::uint32_t now = clock_();
    // A step taken while the one before is still on its way starts from where that one goes, so that
    // quick presses (a held key) each count. Otherwise a time of 0 means playback hasn't advanced yet,
    // and a negative time that the library knows no position.
    const bool onItsWay = watching::seekOnItsWay(pendingSeek_, time, now);
    if (!onItsWay && time <= 0) {
        return false;
    }
    const std::int64_t length = player_->getLength();
    goTo(
        watching::stepTarget(onItsWay ? pendingSeek_.target : time, direction < 0 ? -stepMs : stepMs, length),
        length);
    return true;
}

bool PlayLogic::jumpTo(std::int64_t ms) {
    if (!playingOrPaused()) {
        return false;
    }
    goTo(ms, player_->getLength());
    return true;
}

void PlayLogic::goTo(std::int64_t target, std::int64_t length) {
    player_->setTime(target);
    pendingSeek_ = {true, target, clock_()};
    view_.showPosition(target);
    Change change{Change::Kind::Position};
    change.time = target;
    change.length = length;
    tell(change);
}

std::int64_t PlayLogic::timeShown() const {
    const std::int64_t time = player_ ? player_->getTime() : 0;
    return watching::seekOnItsWay(pendingSeek_, time, clock_()) ? pendingSeek_.target : time;
}

void PlayLogic::forgetArrivedSeek() {
    if (pendingSeek_.active &&
        !watching::seekOnItsWay(pendingSeek_, player_ ? player_->getTime() : 0, clock_())) {
        pendingSeek_ = {};
    }
}

void PlayLogic::seekTo(std::int64_t ms) {
    if (player_) {
        player_->setTime(ms);
        pendingSeek_ = {true, ms, clock_()};
    }
}

void PlayLogic::setVolume(int percent) {
    volume_ = clampPercent(percent);
    muted_ = false;
    if (playingOrPaused()) {
        applyVolume();
    }
    view_.refreshVolume();
}

void PlayLogic::changeVolume(int direction) {
    // Volume Up while muted starts again from silence rather than from the volume before the mute.
    if (muted_) {
        volume_ = 0;
    }
    setVolume(clampPercent(volume_ + (direction > 0 ? kVolumeStep : -kVolumeStep)));
    Change change{Change::Kind::Volume};
    change.percent = volume_;
    tell(change);
}

void PlayLogic::toggleMute() {
    muted_ = !muted_;
    if (playingOrPaused()) {
        applyVolume();
    }
    view_.refreshVolume();
    Change change{Change::Kind::Mute};
    change.muted = muted_;
    tell(change);
}

void PlayLogic::timerProc() {
    if (!player_) {
        return;
    }
    takeTextOff(false);
    forgetArrivedSeek();
    switch (state()) {
        case StatePlaying:
            applyVolume();
            followResumeOffer();
            if (countTickAtTimeZero()) {
                OutputDebugStringW(L"Playlogic: timerProc: the file does not start\n");
                endOfFile();
            }
            break;
        case StateEnded:
            OutputDebugStringW(L"Playlogic: timerProc: Ended\n");
            leaveFile(true);
            endOfFile();
            break;
        case StateError:
            // The library gave up on the file; the state stays as it is (the next command starts
            // afresh), but the viewer hears why nothing plays, once.
            if (!failureTold_) {
                failureTold_ = true;
                Change change{Change::Kind::CouldNotPlay};
                change.name = displayName_;
                tell(change);
            }
            break;
        default:
            break;
    }
}

bool PlayLogic::countTickAtTimeZero() {
    ticksAtTimeZero_ = player_->getTime() > 0 ? 0 : ticksAtTimeZero_ + 1;
    return ticksAtTimeZero_ >= kNoStartTicks;
}

void PlayLogic::endOfFile() {
    stop();
    // The automatic advance stops after the last file instead of wrapping round.
    if (playlist_.canStep() && playlist_.currentIndex() < playlist_.count() - 1) {
        step(+1, false);
    }
}

bool PlayLogic::createMediaPlayer(PlayerType playerType) {
    if (playerType == playerKind_ && player_) {
        return true;
    }
    releasePlayer();
    player_ = factory_(playerType);
    if (!player_) {
        return false;
    }
    if (!player_->init(view_.ownerWindow())) {
        releasePlayer();
        return false;
    }
    player_->setHwnd(view_.surfaceWindow());
    player_->setEventSink(&PlayLogic::handleProc);
    return true;
}

void PlayLogic::applyVolume() {
    if (!player_) {
        return;
    }
    if (player_->playerType() == PlayerVlc) {
        if (player_->isMute() != muted_) {
            player_->toggleMute();
        }
        if (!muted_ && player_->getVolume() != volume_) {
            player_->setVolume(volume_);
        }
        return;
    }
    // Players without a mute of their own are muted by volume 0.
    if (muted_) {
        if (player_->getVolume() != 0) {
            player_->setVolume(0);
        }
    } else if (player_->getVolume() != volume_) {
        player_->setVolume(volume_);
    }
}

void PlayLogic::showVideoIfPresent() {
    // Only ever shows: a surface the user sees is not hidden again by a late event. Events reach this
    // thread after a delay, so one raised before a stop may arrive after it: only a player that still
    // plays (or is paused) may bring back the surface that stop hid to show the logo.
    if (playingOrPaused() && view_.surfaceHidden()) {
        view_.showSurface(player_->hasVideo());
    }
}

void PlayLogic::setCurrentFile(const std::wstring& path) {
    currentPath_ = path;
    displayName_ = fileNameOf(path);
}

void PlayLogic::releasePlayer() {
    if (player_) {
        player_->release();
        player_.reset();
    }
}

// Shared by the controller and the listing's thread; whichever goes last frees it.
struct PlayLogic::FolderListing {
    std::mutex mutex;
    bool done = false;
    PlayListData result;
};

void PlayLogic::rebuildPlaylist(const std::wstring& path) {
    playlist_.clear();
    playlist_.addFile(path, 1);
    auto listing = std::make_shared<FolderListing>();
    listing_ = listing;
    try {
        std::thread([listing, path] {
            PlayListData folder;
            folder.build(path);
            {
                std::lock_guard<std::mutex> guard(listing->mutex);
                listing->result.takeEntries(folder);
                listing->done = true;
            }
            PlayerEventWindow::post(kFolderListedEvent);
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the folder is listed here and now.
        listing_.reset();
        playlist_.build(path);
        view_.updateButtons();
    }
}

void PlayLogic::adoptFolderListing() {
    if (!listing_) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(listing_->mutex);
        if (!listing_->done) {
            return;  // the post of an earlier, moot listing
        }
        playlist_.takeEntries(listing_->result);
    }
    listing_.reset();
    view_.updateButtons();
}

bool PlayLogic::receivesEvents() const {
    return eventWindow_ && eventWindow_->valid();
}

PlayerType PlayLogic::playerTypeForPath(const std::wstring& path) {
    return pathrules::playerTypeFor(path);
}

void PlayLogic::handleProc(int eventType) {
    // The library's thread must not touch windows or the player: stop waits for this thread, and a
    // window call from here could wait for the user-interface thread in turn.
    if (isForwardedEvent(eventType)) {
        PlayerEventWindow::post(eventType);
    }
}

void PlayLogic::deliverEvent(void* self, int eventType) {
    static_cast<PlayLogic*>(self)->onPlayerEvent(eventType);
}

void PlayLogic::onPlayerEvent(int eventType) {
    switch (eventType) {
        case EventPlaying:
            OutputDebugStringW(L"handleProc: libvlc_MediaPlayerPlaying\n");
            showVideoIfPresent();
            applyVolume();
            view_.updateButtons();
            break;
        case EventPaused:
            OutputDebugStringW(L"handleProc: libvlc_MediaPlayerPaused\n");
            view_.updateButtons();
            break;
        case EventStopped:
            OutputDebugStringW(L"handleProc: libvlc_MediaPlayerStopped\n");
            view_.updateButtons();
            break;
        case EventTimeChanged:
            showVideoIfPresent();
            forgetArrivedSeek();
            view_.refreshTime();
            break;
        case kFolderListedEvent:
            adoptFolderListing();
            break;
        default:
            break;
    }
}
