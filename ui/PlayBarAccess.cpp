#include <oleacc.h>

#include "playback/PlayLogic.h"
#include "resource.h"
#include "ui/PlayBar.h"
#include "ui/PlayBarRules.h"

// The bar as screen readers in other processes read it: the time slider and the volume slider as
// sliders named "Position" and "Volume", and the last told words as the name of a status object. The
// bar draws all three; the hidden windows that mark their places stand for them (BarAccess).

namespace {

bool hasMedia(const PlayLogic* logic) {
    const int state = logic != nullptr ? logic->state() : StateNothing;
    return state == StatePlaying || state == StatePaused;
}

}  // namespace

void PlayBar::attachAccess() {
    access_.attach(GetDlgItem(window_, IDC_TIME_SLIDER), ROLE_SYSTEM_SLIDER,
                   [this] { return positionReading(); });
    access_.attach(GetDlgItem(window_, IDC_VOLUME_SLIDER), ROLE_SYSTEM_SLIDER,
                   [this] { return volumeReading(); });
    access_.attach(GetDlgItem(window_, IDC_TOLD_STATUS), ROLE_SYSTEM_STATUSBAR, [this] {
        return AccessibleReading{told_, L"", false};
    });
}

AccessibleReading PlayBar::positionReading() const {
    return AccessibleReading{L"Position", timeText(), !hasMedia(controller())};
}

AccessibleReading PlayBar::volumeReading() const {
    const PlayLogic* logic = controller();
    const std::wstring value =
        logic != nullptr ? playbar::volumeValue(logic->volume(), logic->muted()) : std::wstring();
    return AccessibleReading{L"Volume", value, !hasMedia(logic)};
}

void PlayBar::placeToldStatus() {
    HWND status = GetDlgItem(window_, IDC_TOLD_STATUS);
    if (status != nullptr && !IsRectEmpty(&timeArea_)) {
        // Over the time text, where the words show on the bar.
        SetWindowPos(status, nullptr, timeArea_.left, 0, timeArea_.right - timeArea_.left, timeArea_.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

void PlayBar::announce(const std::wstring& words) {
    if (window_ == nullptr) {
        return;
    }
    told_ = words;
    access_.raise(EVENT_OBJECT_NAMECHANGE, GetDlgItem(window_, IDC_TOLD_STATUS));
    // From the bar's own window, which is shown: readers may pass over notifications of hidden elements.
    BarAccess::notify(window_, words);
}

void PlayBar::tellPositionToReaders() {
    if (!access_.listening() || (positionTold_ && position_ == positionToldMs_)) {
        return;
    }
    const DWORD now = GetTickCount();
    if (!playbar::positionEventDue(positionTold_, positionToldAt_, now)) {
        return;
    }
    positionTold_ = true;
    positionToldAt_ = now;
    positionToldMs_ = position_;
    access_.raise(EVENT_OBJECT_VALUECHANGE, GetDlgItem(window_, IDC_TIME_SLIDER));
}

void PlayBar::tellVolumeToReaders() {
    access_.raise(EVENT_OBJECT_VALUECHANGE, GetDlgItem(window_, IDC_VOLUME_SLIDER));
}

void PlayBar::tellAvailabilityToReaders() {
    const bool available = hasMedia(controller());
    if (available != readersSawMedia_ && access_.listening()) {
        readersSawMedia_ = available;
        access_.raise(EVENT_OBJECT_STATECHANGE, GetDlgItem(window_, IDC_TIME_SLIDER));
        access_.raise(EVENT_OBJECT_STATECHANGE, GetDlgItem(window_, IDC_VOLUME_SLIDER));
    }
}
