// What the viewer chooses while a file plays or is paused: its audio and subtitle tracks, subtitle files,
// the speed, its chapters and the subtitle and sound delays; and the text over the picture that the view
// tells a change with.
#include "playback/PlayLogic.h"

#include <vector>

#include "playback/PathRules.h"
#include "playback/PlaybackView.h"

bool PlayLogic::can(PlayerFeature feature) {
    return playingOrPaused() && (player_->features() & feature) != 0;
}

bool PlayLogic::showsVideo() {
    return playingOrPaused() && player_->hasVideo();
}

void PlayLogic::tell(const Change& change) {
    view_.tell(change);
}

bool PlayLogic::canShowOnPicture() {
    return can(FeatureOnScreenText) && player_->hasVideo();
}

bool PlayLogic::showOnPicture(const std::wstring& text, int durationMs) {
    if (!canShowOnPicture()) {
        return false;
    }
    player_->showText(text.c_str(), durationMs);
    textShown_ = true;
    textUntil_ = clock_() + static_cast<std::uint32_t>(durationMs);
    return true;
}

void PlayLogic::takeTextOff(bool now) {
    if (textShown_ && player_ && (now || static_cast<std::int32_t>(clock_() - textUntil_) >= 0)) {
        player_->showText(nullptr, 0);
        textShown_ = false;
    }
}

void PlayLogic::nextAudioTrack() {
    if (can(FeatureAudioTracks)) {
        chooseAudioTrack(watching::nextAudioTrack(player_->audioTracks(), player_->currentAudioTrack()));
    }
}

void PlayLogic::chooseAudioTrack(int id) {
    if (!can(FeatureAudioTracks)) {
        return;
    }
    const std::vector<MediaTrack> tracks = player_->audioTracks();
    const int index = watching::trackIndex(tracks, id);
    if (index >= 0 && player_->setAudioTrack(id)) {
        Change change{Change::Kind::AudioTrack};
        change.name = tracks[static_cast<std::size_t>(index)].name;
        tell(change);
    }
}

void PlayLogic::nextSubtitles() {
    if (can(FeatureSubtitleTracks)) {
        chooseSubtitles(
            watching::nextSubtitleChoice(player_->subtitleTracks(), player_->currentSubtitleTrack()));
    }
}

void PlayLogic::chooseSubtitles(int id) {
    if (!can(FeatureSubtitleTracks)) {
        return;
    }
    const std::vector<MediaTrack> tracks = player_->subtitleTracks();
    const int index = watching::trackIndex(tracks, id);
    if (index < 0 && id != kNoTrack) {
        return;
    }
    if (player_->setSubtitleTrack(id)) {
        Change change{Change::Kind::Subtitles};
        change.name = index >= 0 ? tracks[static_cast<std::size_t>(index)].name : std::wstring();
        tell(change);
    }
}

bool PlayLogic::loadSubtitleFile(const std::wstring& path) {
    if (!can(FeatureSubtitleFiles)) {
        return false;
    }
    const bool added = player_->addSubtitleFile(path.c_str());
    Change change{added ? Change::Kind::SubtitleFile : Change::Kind::SubtitleFileRefused};
    change.name = fileNameOf(path);
    tell(change);
    return added;
}

void PlayLogic::stepSpeed(int direction) {
    chooseSpeed(watching::stepSpeed(speed_, direction));
}

void PlayLogic::chooseSpeed(float speed) {
    // At the fastest or slowest step a further step only says so.
    if (!can(FeatureRate) || (speed != speed_ && !player_->setRate(speed))) {
        return;
    }
    speed_ = speed;
    Change change{Change::Kind::Speed};
    change.speed = speed_;
    tell(change);
    // The time display shows the speed beside the time while it isn't normal.
    view_.refreshTime();
}

void PlayLogic::applySpeed() {
    // The library keeps a player's rate from one file to the next, but a new player starts at normal.
    if ((player_->features() & FeatureRate) != 0 && player_->getRate() != speed_) {
        player_->setRate(speed_);
    }
}

void PlayLogic::stepChapter(int direction) {
    if (can(FeatureChapters)) {
        chooseChapter(watching::chapterStep(player_->chapters(), timeShown(), direction));
    }
}

void PlayLogic::chooseChapter(int index) {
    if (!can(FeatureChapters)) {
        return;
    }
    const std::vector<MediaChapter> chapters = player_->chapters();
    if (index < 0 || index >= static_cast<int>(chapters.size()) || !player_->setChapter(index)) {
        return;
    }
    // A seek like any other: the time shows the chapter's start at once, and steps go on from there.
    const std::int64_t start = chapters[static_cast<std::size_t>(index)].start;
    pendingSeek_ = {true, start, clock_()};
    view_.showPosition(start);
    Change change{Change::Kind::Chapter};
    change.index = index;
    change.name = chapters[static_cast<std::size_t>(index)].name;
    tell(change);
}

void PlayLogic::stepSubtitleDelay(int direction) {
    if (!can(FeatureSubtitleDelay)) {
        return;
    }
    const std::int64_t delay = watching::stepDelay(player_->subtitleDelay(), direction);
    if (player_->setSubtitleDelay(delay)) {
        Change change{Change::Kind::SubtitleDelay};
        change.delay = delay;
        tell(change);
    }
}

void PlayLogic::stepAudioDelay(int direction) {
    if (!can(FeatureAudioDelay)) {
        return;
    }
    const std::int64_t delay = watching::stepDelay(player_->audioDelay(), direction);
    if (player_->setAudioDelay(delay)) {
        Change change{Change::Kind::AudioDelay};
        change.delay = delay;
        tell(change);
    }
}
