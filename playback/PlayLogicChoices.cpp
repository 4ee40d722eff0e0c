// What the viewer chooses while a file plays or is paused: its audio and subtitle tracks, subtitle files
// and the speed; and the text over the picture that the view tells a change with.
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
        const std::vector<MediaTrack> tracks = player_->audioTracks();
        chooseAudioTrack(
            watching::trackIndex(tracks, watching::nextAudioTrack(tracks, player_->currentAudioTrack())));
    }
}

void PlayLogic::chooseAudioTrack(int index) {
    if (!can(FeatureAudioTracks)) {
        return;
    }
    const std::vector<MediaTrack> tracks = player_->audioTracks();
    if (index < 0 || index >= static_cast<int>(tracks.size())) {
        return;
    }
    const MediaTrack& track = tracks[static_cast<std::size_t>(index)];
    if (player_->setAudioTrack(track.id)) {
        Change change{Change::Kind::AudioTrack};
        change.name = track.name;
        tell(change);
    }
}

void PlayLogic::nextSubtitles() {
    if (can(FeatureSubtitleTracks)) {
        const std::vector<MediaTrack> tracks = player_->subtitleTracks();
        chooseSubtitles(watching::trackIndex(
            tracks, watching::nextSubtitleChoice(tracks, player_->currentSubtitleTrack())));
    }
}

void PlayLogic::chooseSubtitles(int index) {
    if (!can(FeatureSubtitleTracks)) {
        return;
    }
    const std::vector<MediaTrack> tracks = player_->subtitleTracks();
    if (index >= static_cast<int>(tracks.size())) {
        return;
    }
    const MediaTrack* track = index >= 0 ? &tracks[static_cast<std::size_t>(index)] : nullptr;
    if (player_->setSubtitleTrack(track != nullptr ? track->id : kNoTrack)) {
        Change change{Change::Kind::Subtitles};
        change.name = track != nullptr ? track->name : std::wstring();
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
