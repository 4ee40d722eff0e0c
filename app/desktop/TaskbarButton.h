#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/desktop/DesktopRules.h"
#include "ui/GdiGuards.h"

// One button of the taskbar's thumbnail toolbar, as the bar's own button is.
struct ThumbButton {
    bool enabled = false;
    std::wstring tip;  // the bar button's tooltip
};
// The thumbnail toolbar: Previous, Play or Pause, Next.
struct ThumbButtons {
    ThumbButton previous;
    ThumbButton playOrPause;
    ThumbButton next;
    bool pause = false;  // the middle button shows Pause (while playing), else Play
};
bool operator==(const ThumbButton& a, const ThumbButton& b);
bool operator==(const ThumbButtons& a, const ThumbButtons& b);

// The player's button on the taskbar: the thumbnail toolbar under the window's thumbnail and the progress
// on the button. Both come with the "TaskbarButtonCreated" message, never before it, and again with each
// one (the taskbar sends it anew after a restart). A click on a thumbnail button reaches the window as the
// WM_COMMAND of the bar's button (the toolbar's identifiers are those commands). Without a taskbar list the
// button stays plain.
class TaskbarButton {
public:
    // Makes a taskbar list, initialised: a new reference, or null.
    using ListMaker = std::function<ITaskbarList3*()>;

    TaskbarButton() = default;
    ~TaskbarButton() { release(); }
    TaskbarButton(const TaskbarButton&) = delete;
    TaskbarButton& operator=(const TaskbarButton&) = delete;

    // Tests hand in a list of their own; an empty maker puts the system's back (made with COM on this,
    // the user-interface, thread).
    void useListMaker(ListMaker maker) { maker_ = std::move(maker); }
    // The taskbar made the window's button: a new list with the thumbnail toolbar and the progress.
    void onButtonCreated(HWND window, const ThumbButtons& buttons,
                         const desktoprules::TaskbarProgress& progress);
    // Each updates the taskbar only where it differs from what it shows.
    void show(const ThumbButtons& buttons);
    void show(const desktoprules::TaskbarProgress& progress);
    // Lets go of the list and the icons, and of COM where the list started it.
    void release();

private:
    struct ComRelease {
        void operator()(IUnknown* object) const { object->Release(); }
    };
    enum Picture { Previous, Play, Pause, Next, PictureCount };

    ITaskbarList3* makeList();
    void loadIcons(HWND window);
    // The three buttons as the list takes them.
    void describe(const ThumbButtons& buttons, THUMBBUTTON (&out)[3]) const;

    ListMaker maker_;
    bool comStarted_ = false;
    HWND window_ = nullptr;
    std::unique_ptr<ITaskbarList3, ComRelease> list_;
    bool buttonsAdded_ = false;
    ThumbButtons shownButtons_;
    desktoprules::TaskbarProgress shownProgress_;
    IconHandle icons_[PictureCount];
};

// The main window's button.
TaskbarButton& taskbarButton();
