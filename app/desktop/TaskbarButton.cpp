#include "app/desktop/TaskbarButton.h"

#include <cwchar>

#include "resources/resource.h"
#include "ui/SystemDpi.h"

namespace {

// The resource names of the toolbar's pictures, drawn by scripts/draw_skins.py, in the order of Picture.
const wchar_t* const kIconNames[] = {L"IDI_THUMB_PREV", L"IDI_THUMB_PLAY", L"IDI_THUMB_PAUSE",
                                     L"IDI_THUMB_NEXT"};

THUMBBUTTON thumbButton(UINT command, const ThumbButton& button, HICON icon) {
    THUMBBUTTON described{};
    described.dwMask = THB_ICON | THB_TOOLTIP | THB_FLAGS;
    described.iId = command;
    described.hIcon = icon;
    std::wcsncpy(described.szTip, button.tip.c_str(), ARRAYSIZE(described.szTip) - 1);
    described.dwFlags = button.enabled ? THBF_ENABLED : THBF_DISABLED;
    return described;
}

}  // namespace

bool operator==(const ThumbButton& a, const ThumbButton& b) {
    return a.enabled == b.enabled && a.tip == b.tip;
}

bool operator==(const ThumbButtons& a, const ThumbButtons& b) {
    return a.previous == b.previous && a.playOrPause == b.playOrPause && a.next == b.next &&
           a.pause == b.pause;
}

ITaskbarList3* TaskbarButton::makeList() {
    if (maker_) {
        return maker_();
    }
    // COM starts when the taskbar first asks, not at start-up; the list is an object of this thread.
    if (!comStarted_) {
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void* list = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                &list))) {
        return nullptr;
    }
    return static_cast<ITaskbarList3*>(list);
}

void TaskbarButton::loadIcons(HWND window) {
    // The taskbar shows the pictures at the small-icon size of the system's scale.
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (int picture = 0; picture < PictureCount; ++picture) {
        if (!icons_[picture]) {
            icons_[picture] = loadIconForDpi(instance, kIconNames[picture], SM_CXSMICON, systemDpi());
        }
    }
}

void TaskbarButton::describe(const ThumbButtons& buttons, THUMBBUTTON (&out)[3]) const {
    // The middle button's command is Space's, which plays, or pauses while playing, as the bar's Play and
    // Pause buttons do.
    out[0] = thumbButton(ID_PREVIOUS, buttons.previous, icons_[Previous].get());
    out[1] = thumbButton(ID_PLAY, buttons.playOrPause, icons_[buttons.pause ? Pause : Play].get());
    out[2] = thumbButton(ID_NEXT, buttons.next, icons_[Next].get());
}

void TaskbarButton::onButtonCreated(HWND window, const ThumbButtons& buttons,
                                    const desktoprules::TaskbarProgress& progress) {
    const bool addedBefore = buttonsAdded_ && window == window_;
    list_.reset();
    buttonsAdded_ = false;
    window_ = window;
    ITaskbarList3* list = makeList();
    if (list == nullptr) {
        return;
    }
    list_.reset(list);
    if (FAILED(list_->HrInit())) {
        list_.reset();
        return;
    }
    loadIcons(window);
    THUMBBUTTON described[3];
    describe(buttons, described);
    // The taskbar takes a window's buttons once (a second Add fails) and changes them by updates since;
    // it asks again for the same button at times, and after a restart it knows none and takes them anew.
    buttonsAdded_ =
        (addedBefore && SUCCEEDED(list_->ThumbBarUpdateButtons(window, ARRAYSIZE(described), described))) ||
        SUCCEEDED(list_->ThumbBarAddButtons(window, ARRAYSIZE(described), described));
    shownButtons_ = buttons;
    // A new button shows no progress yet.
    shownProgress_ = {};
    show(progress);
}

void TaskbarButton::show(const ThumbButtons& buttons) {
    if (!list_ || !buttonsAdded_ || buttons == shownButtons_) {
        return;
    }
    THUMBBUTTON described[3];
    describe(buttons, described);
    list_->ThumbBarUpdateButtons(window_, ARRAYSIZE(described), described);
    shownButtons_ = buttons;
}

void TaskbarButton::show(const desktoprules::TaskbarProgress& progress) {
    if (!list_ || progress == shownProgress_) {
        return;
    }
    const bool valueChanged =
        progress.completed != shownProgress_.completed || progress.total != shownProgress_.total;
    if (progress.state != TBPF_NOPROGRESS && (valueChanged || shownProgress_.state == TBPF_NOPROGRESS)) {
        list_->SetProgressValue(window_, progress.completed, progress.total);
    }
    if (progress.state != shownProgress_.state) {
        list_->SetProgressState(window_, progress.state);
    }
    shownProgress_ = progress;
}

void TaskbarButton::release() {
    list_.reset();
    buttonsAdded_ = false;
    window_ = nullptr;
    for (IconHandle& icon : icons_) {
        icon.reset();
    }
    if (comStarted_) {
        CoUninitialize();
        comStarted_ = false;
    }
}

TaskbarButton& taskbarButton() {
    static TaskbarButton button;
    return button;
}
