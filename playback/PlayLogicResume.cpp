// Carrying on where the viewer stopped: each file's place is remembered when it is left, and offered
// (never taken by itself) when the file starts again from its beginning.
#include "playback/PlayLogic.h"

#include "playback/ResumeRules.h"
#include "playback/ResumeStore.h"

void PlayLogic::leaveFile(bool ended) {
    if (resumeStore_ == nullptr || currentPath_.empty() || !player_ || (!ended && !playingOrPaused())) {
        return;
    }
    // A seek still on its way counts where it goes: the viewer left the file there.
    const std::int64_t time = ended ? 0 : timeShown();
    switch (resume::onLeave(time, ended ? 0 : player_->getLength(), ended)) {
        case resume::OnLeave::Remember:
            resumeStore_->remember(currentPath_, time);
            break;
        case resume::OnLeave::Forget:
            resumeStore_->forget(currentPath_);
            break;
        case resume::OnLeave::Keep:
            break;
    }
}

void PlayLogic::readResumeOffer() {
    resumeOffer_ = resumeStore_ != nullptr && !currentPath_.empty() ? resumeStore_->recall(currentPath_) : -1;
    offerTold_ = false;
}

void PlayLogic::followResumeOffer() {
    if (resumeOffer_ < 0) {
        return;
    }
    const std::int64_t length = player_->getLength();
    if (length <= 0) {
        return;  // told once the length shows the place lies within the file
    }
    if (!resume::offerable(resumeOffer_, length)) {
        resumeOffer_ = -1;
    } else if (!offerTold_) {
        offerTold_ = true;
        Change change{Change::Kind::ResumeOffer};
        change.time = resumeOffer_;
        tell(change);
    } else if (timeShown() > resumeOffer_) {
        resumeOffer_ = -1;
    }
}

bool PlayLogic::resume() {
    if (resumeOffer_ >= 0 && player_ && !resume::offerable(resumeOffer_, player_->getLength())) {
        resumeOffer_ = -1;
    }
    if (resumeOffer_ < 0 || !jumpTo(resumeOffer_)) {
        return false;
    }
    resumeOffer_ = -1;
    return true;
}

void PlayLogic::rememberPlace() {
    leaveFile(false);
}
