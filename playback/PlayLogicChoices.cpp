// What the viewer chooses while a file plays or is paused: its audio and subtitle tracks, subtitle files
// and the speed; and the short texts that tell each change (and volume, mute and seeks) on screen.
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

void PlayLogic::tell(const std::wstring& text, int durationMs) {
    if (!tellOnPicture(text, durationMs)) {
        view_.showFeedback(text);
    }
}

bool PlayLogic::tellOnPicture(const std::wstring& text, int durationMs) {
    if (!can(FeatureOnScreenText) || !player_->hasVideo()) {
        return false;
    }
    player_->showText(text.c_str(), durationMs);
    return true;
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
        tell(watching::audioText(track));
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
        tell(watching::subtitlesText(track));
    }
}

bool PlayLogic::loadSubtitleFile(const std::wstring& path) {
    if (!can(FeatureSubtitleFiles)) {
        return false;
    }
    const bool added = player_->addSubtitleFile(path.c_str());
    tell(added ? watching::subtitleFileText(fileNameOf(path)) : L"Could not load the subtitle file");
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
    tell(watching::speedText(speed_));
    // The time display shows the speed beside the time while it isn't normal.
    view_.refreshTime();
}

void PlayLogic::applySpeed() {
    // The library keeps a player's rate from one file to the next, but a new player starts at normal.
    if ((player_->features() & FeatureRate) != 0 && player_->getRate() != speed_) {
        player_->setRate(speed_);
    }
}
