#pragma once

#include <functional>
#include <memory>
#include <string>

#include "playback/Change.h"
#include "playback/MediaPlayer.h"
#include "playback/PlayListData.h"
#include "playback/WatchRules.h"

class PlaybackView;
class PlayerEventWindow;
class ResumeStore;

// The playback controller: owns the media player and the folder playlist, turns commands into player
// calls, keeps volume, mute and speed, chooses tracks and subtitles, and follows the player's events and
// the main window's 260 ms tick. It tells its view what changed; the view says it, over the picture
// through showOnPicture or on the bar. Everything runs on the user-interface thread; the library's events
// are carried over to it.
class PlayLogic {
public:
    // Makes the player for a type; the default makes a VlcPlayer for type 1 and nothing otherwise.
    using PlayerFactory = std::function<std::unique_ptr<MediaPlayer>(PlayerType playerType)>;
    // The clock a seek on its way is timed by, in milliseconds: the system's tick count unless a test
    // gives another.
    using Clock = std::function<std::uint32_t()>;

    // The view is the windows the controller shows playback in; it must outlive the controller. Without
    // one (tests, shut-down) the controller plays as if none of those windows existed.
    explicit PlayLogic(PlayerFactory factory = {}, PlaybackView* view = nullptr, Clock clock = {});
    virtual ~PlayLogic();
    PlayLogic(const PlayLogic&) = delete;
    PlayLogic& operator=(const PlayLogic&) = delete;

    bool open(const std::wstring& path);
    void play();
    void pause();
    void stop();
    bool isPlaying();
    void skip(int direction);
    // One step of stepMs back (direction < 0) or on; held keys each count (see PendingSeek).
    bool seek(int direction, std::int64_t stepMs = watching::kSeekStepMs);
    void setVolume(int percent);
    void changeVolume(int direction);
    void toggleMute();
    void timerProc();
    bool createMediaPlayer(PlayerType playerType);
    void applyVolume();
    void showVideoIfPresent();
    void setCurrentFile(const std::wstring& path);
    void releasePlayer();
    static PlayerType playerTypeForPath(const std::wstring& path);

    // The player's event sink. It runs on the library's thread and only posts the event type to the
    // user-interface thread, where onPlayerEvent carries out the event's actions.
    static void handleProc(int eventType);
    // The actions of one player event, on the user-interface thread.
    void onPlayerEvent(int eventType);

    MediaPlayer* player() const { return player_.get(); }
    // The player's state; StateNothing while there is no player.
    int state() const { return player_ ? player_->getState() : StateNothing; }
    // Hands the player over (at shut-down, so it is released before the windows go).
    std::unique_ptr<MediaPlayer> takePlayer() { return std::move(player_); }
    // Makes the playlist the playable files of the path's folder. The folder is listed on a thread of its
    // own, which for a large folder takes long (every file is opened once): until it is done the list
    // holds the path alone and the window keeps answering; then the whole list comes in on this thread and
    // the view's buttons follow. A later call, or the controller's end, makes an earlier listing moot.
    void rebuildPlaylist(const std::wstring& path);
    // True while a folder listing is under way.
    bool listingFolder() const { return listing_ != nullptr; }
    PlayListData& playlist() { return playlist_; }
    const PlayListData& playlist() const { return playlist_; }
    const std::wstring& currentPath() const { return currentPath_; }
    const std::wstring& displayName() const { return displayName_; }
    int volume() const { return volume_; }
    bool muted() const { return muted_; }
    // False when the window that carries the player's events to this thread could not be made: a
    // controller without it would never hear of playing, pausing or the time.
    bool receivesEvents() const;
    PlayerType playerKind() const { return playerKind_; }
    void setPlayerKind(PlayerType kind) { playerKind_ = kind; }

    // Watching a film: the tracks, subtitles and speed of what plays or is paused, each change told to
    // the view. Without a file playing or paused, or without the player's feature, they
    // do nothing.
    // True when a file plays or is paused and the player can do that.
    bool can(PlayerFeature feature);
    void nextAudioTrack();
    // The audio track of that id; nothing when the file has none such.
    void chooseAudioTrack(int id);
    void nextSubtitles();
    // The subtitle track of that id; kNoTrack switches subtitles off.
    void chooseSubtitles(int id);
    // Adds the subtitle file to the video and shows it; false when it can't be added.
    bool loadSubtitleFile(const std::wstring& path);
    // True while a file with a picture plays or is paused.
    bool showsVideo();
    // The speed the controller plays at: it stays for the files that play after, until it is changed or
    // the controller goes.
    float speed() const { return speed_; }
    void stepSpeed(int direction);
    void chooseSpeed(float speed);
    // Chapters: Ctrl+Page Down and Ctrl+Page Up (watching::chapterStep) and the Chapters menu, each a
    // seek to the chapter's start.
    void stepChapter(int direction);
    // The chapter at that place of the player's list.
    void chooseChapter(int index);
    // The subtitles and the sound a step earlier (direction < 0) or later; the library forgets both
    // with the file.
    void stepSubtitleDelay(int direction);
    void stepAudioDelay(int direction);
    // The time the display shows: the target of a seek still on its way there, else the player's time.
    std::int64_t timeShown() const;
    // Seeks to the time (the time slider's drag), which later steps start from.
    void seekTo(std::int64_t ms);
    // Jumps to the time while a file plays or is paused, shown and told as a seek by key is; false when
    // nothing plays.
    bool jumpTo(std::int64_t ms);

    // Carrying on where the viewer stopped: the store keeps each file's place from one run to the next.
    // Without one (tests, a controller of its own) nothing is remembered or offered.
    void setResumeStore(ResumeStore* store) { resumeStore_ = store; }
    // The remembered place of the file that plays, offered while it starts from its beginning; -1 when
    // there is none, or once it was taken or played past.
    std::int64_t resumeOffer() const { return resumeOffer_; }
    // Jumps to the offered place (R); false when none is offered.
    bool resume();
    // Remembers the place of the file that plays or is paused, as leaving it would (the session ends
    // without the window closing).
    void rememberPlace();

    // True when a video plays or is paused whose picture the library can write on.
    bool canShowOnPicture();
    // Writes the text over the picture for that long, in place of any text before; false where it can't.
    // The library keeps its text on the player and would show it again over the next file: the
    // controller takes it away when its time is up, on stop and when another file opens.
    bool showOnPicture(const std::wstring& text, int durationMs);

private:
    std::unique_ptr<MediaPlayer> player_;
    PlayListData playlist_;
    struct FolderListing;
    std::shared_ptr<FolderListing> listing_;  // the listing this controller waits for, if any
    void adoptFolderListing();
    std::wstring currentPath_;
    std::wstring displayName_;
    int volume_ = 100;
    bool muted_ = false;
    PlayerType playerKind_ = PlayerNone;
    int ticksAtTimeZero_ = 0;   // ticks seen playing at time 0 since the last play
    bool failureTold_ = false;  // the library's giving up on this file was told
    bool textShown_ = false;    // a text is over the picture until textUntil_
    std::uint32_t textUntil_ = 0;
    PlayerFactory factory_;
    PlaybackView& view_;
    Clock clock_;
    float speed_ = watching::kNormalSpeed;
    watching::PendingSeek pendingSeek_;
    ResumeStore* resumeStore_ = nullptr;
    std::int64_t resumeOffer_ = -1;
    bool offerTold_ = false;
    // Message-only window of the user-interface thread that receives the events handleProc posts.
    std::unique_ptr<PlayerEventWindow> eventWindow_;

    static void deliverEvent(void* self, int eventType);
    // Waits, boundedly, for the player to leave the playing state after pause or stop.
    void waitUntilNotPlaying();
    // True when a player exists and is playing or paused.
    bool playingOrPaused();
    // Counts a playing tick; true once the file has played that long without its time moving.
    bool countTickAtTimeZero();
    // Stops, and moves on to the next file unless this was the folder's last.
    void endOfFile();
    // The steps of open after the player type is known.
    bool openAs(const std::wstring& path, PlayerType playerType);
    // A seek by key or to a time: the player asked, the time display and the viewer told.
    void goTo(std::int64_t target, std::int64_t length);
    // Tells the view what changed.
    void tell(const Change& change);
    // Takes a text off the picture once its time is up, or now with `now` set.
    void takeTextOff(bool now);
    // Forgets a seek the library has arrived at (or that is no longer waited for).
    void forgetArrivedSeek();
    // Steps through the folder by `direction`; chosen when the user asked for it.
    void step(int direction, bool chosen);
    // Plays at speed_ when the player can.
    void applySpeed();
    // PlayLogicResume.cpp: the current file's place as leaving it decides (before the player lets go of
    // it); the offer read again for a start from its beginning; the offer told once the file's length
    // shows it is worth it, and forgotten once played past.
    void leaveFile(bool ended);
    void readResumeOffer();
    void followResumeOffer();
};
