#include "ui/PlayWnd.h"

#include <windowsx.h>

#include "playback/PlayLogic.h"
#include "resource.h"
#include "ui/BrandingLink.h"
#include "ui/DpiMath.h"
#include "ui/GdiGuards.h"
#include "ui/Gdiplus.h"
#include "ui/MessageFont.h"
#include "ui/PlayWndMenu.h"
#include "ui/SkinImage.h"
#include "ui/SystemDpi.h"
#include "ui/VideoLayout.h"
#include "ui/WindowLibrary.h"

namespace {

PlayWnd* g_instance = nullptr;

}  // namespace

PlayWnd* PlayWnd::instance() {
    if (g_instance == nullptr) {
        g_instance = new PlayWnd();
    }
    return g_instance;
}

void PlayWnd::destroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

PlayWnd::PlayWnd() = default;

PlayWnd::~PlayWnd() {
    destroyWindows();
    logo_.reset();
}

bool PlayWnd::create(HINSTANCE instance, HWND mainWindow) {
    if (instance != nullptr) {
        instance_ = instance;
    }
    if (frameWindow_ == nullptr) {
        dpi_ = links_.currentDpi();
        cursor_.setMoveThreshold(dpimath::scale(CursorIdle::kMoveThreshold, dpi_));
        // WM_INITDIALOG runs inside this call and records the frame and its link.
        HWND frame = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_VIDEO_FRAME), mainWindow,
                                        &PlayWnd::frameProc, 0);
        if (frame == nullptr) {
            OutputDebugStringW(L"PlayWnd: create: frame dialog failed\n");
            return false;
        }
        frameWindow_ = frame;
        keepDialogLayoutOnDpiChange(frame);
    }
    return loadLogo();
}

bool PlayWnd::loadLogo() {
    logo_ = loadSkinImage(instance_, MAKEINTRESOURCEW(IDB_LOGO), dpi_);
    POINT position{};
    GetCursorPos(&position);
    cursor_.reset(position, links_.currentTick());
    return true;
}

void PlayWnd::initFrame(HWND frame) {
    frameWindow_ = frame;
    if (!linkFont_) {
        linkFont_.reset(createMessageFont(dpi_, 0, true));
    }
    linkWindow_ = createBrandingLink(linkFont_.get(), frame);
}

void PlayWnd::layout() {
    if (frameWindow_ == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(frameWindow_, &client);
    SIZE linkSize{};
    const bool hasLink = linkWindow_ != nullptr;
    if (hasLink) {
        RECT rect{};
        GetWindowRect(linkWindow_, &rect);
        linkSize = {rect.right - rect.left, rect.bottom - rect.top};
    }
    const VideoLayout placed =
        computeVideoLayout(client.right, client.bottom, hasLink ? &linkSize : nullptr, dpi_);
    if (hasLink) {
        const RECT& r = placed.link;
        MoveWindow(linkWindow_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    if (surfaceWindow_ != nullptr) {
        const RECT& r = placed.surface;
        MoveWindow(surfaceWindow_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

int PlayWnd::playerState() const {
    const PlayLogic* controller = links_.currentController();
    return controller ? controller->state() : StateNothing;
}

bool PlayWnd::surfaceVisible() const {
    return surfaceWindow_ != nullptr && (GetWindowLongPtrW(surfaceWindow_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PlayWnd::paint(HDC dc, bool isSurface) {
    RECT client{};
    GetClientRect(frameWindow_, &client);
    {
        BrushHandle black(CreateSolidBrush(RGB(0, 0, 0)));
        FillRect(dc, &client, black.get());
    }
    const int state = playerState();
    const bool pictureShown = (state == StatePlaying || state == StatePaused) && surfaceVisible();
    if (pictureShown || isSurface || !logo_) {
        return;
    }
    const int width = imageWidth(logo_.get());
    const int height = imageHeight(logo_.get());
    Gdiplus::Graphics graphics(dc);
    drawImage(graphics, logo_.get(), (client.right - width) / 2, (client.bottom - height) / 2);
}

void PlayWnd::trackContextMenu(HMENU menu) {
    HWND mainWindow = links_.currentMainWindow();
    HWND owner = mainWindow ? mainWindow : frameWindow_;
    const ContextMenuInputs inputs = currentContextMenuInputs(links_);
    if (HMENU popup = prepareContextMenu(menu, inputs)) {
        POINT at{};
        GetCursorPos(&at);
        const auto command =
            static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
        // The menu is modal: the file may have ended and the next one opened while it was open. A track is
        // chosen here and now, by the id its item carries; a chapter's item stands for its place in the
        // file's list and is carried out only while that file still plays.
        PlayLogic* controller = links_.currentController();
        TrackItem track;
        if (trackItemOf(popup, command, track)) {
            chooseTrackItem(controller, inputs.path, track);
        } else if (command > 0 && mainWindow != nullptr &&
                   menuChoiceApplies(command, inputs,
                                     controller != nullptr ? controller->currentPath() : L"")) {
            PostMessageW(mainWindow, WM_COMMAND, command, 0);
        }
    }
    DestroyMenu(menu);
}

void PlayWnd::showContextMenu() {
    if (HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_CONTEXTMENU))) {
        trackContextMenu(menu);
    }
}

void PlayWnd::toggleFullScreen() {
    HWND mainWindow = links_.currentMainWindow();
    if (mainWindow == nullptr) {
        return;
    }
    const WPARAM command = links_.isFullScreen() ? ID_LEAVE_FULLSCREEN : ID_FULLSCREEN;
    PostMessageW(mainWindow, WM_COMMAND, command, 0);
}

void PlayWnd::checkCursorIdle() {
    // Only over playing video is there a cursor to hide, and only a hidden one waits for a movement to
    // come back: otherwise the pointer isn't read, which at rest is most of what a tick would cost.
    // Meanwhile the pointer's movements over the video come as messages (pointerMoved), so that the rest
    // is still counted from the last of them.
    const bool playing = playerState() == StatePlaying;
    POINT position{};
    if ((!playing && !cursor_.hidden()) || !GetCursorPos(&position)) {
        return;
    }
    applyCursorAction(
        cursor_.tick(position, links_.currentTick(), playing, playing && pointerOverVideo(position)));
}

void PlayWnd::pointerMoved(HWND window, LPARAM lParam) {
    POINT position{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &position);
    applyCursorAction(cursor_.moved(position, links_.currentTick()));
}

void PlayWnd::applyCursorAction(CursorIdle::Action action) {
    switch (action) {
        case CursorIdle::Action::Show:
            ShowCursor(TRUE);
            break;
        case CursorIdle::Action::Hide:
            ShowCursor(FALSE);
            break;
        case CursorIdle::Action::None:
            break;
    }
}

bool PlayWnd::pointerOverVideo(POINT position) const {
    if (frameWindow_ == nullptr) {
        return false;
    }
    const HWND under = WindowFromPoint(position);
    return under != nullptr && (under == frameWindow_ || IsChild(frameWindow_, under));
}

bool PlayWnd::open(PlayerType playerType, HINSTANCE instance) {
    const PlayLogic* controller = links_.currentController();
    const PlayerType kind = controller ? controller->playerKind() : PlayerNone;
    if (playerType != kind || surfaceWindow_ == nullptr) {
        if (surfaceWindow_ != nullptr) {
            MediaPlayer* player = controller ? controller->player() : nullptr;
            // A player of another kind keeps its window; the libvlc player's surface is remade.
            if (player == nullptr || player->playerType() == PlayerVlc) {
                destroyIfWindow(surfaceWindow_);
            }
            surfaceWindow_ = nullptr;
        }
        if (playerType == PlayerVlc) {
            surfaceWindow_ =
                CreateDialogParamW(instance ? instance : instance_, MAKEINTRESOURCEW(IDD_VIDEO_SURFACE),
                                   frameWindow_, &PlayWnd::surfaceProc, 0);
        }
        if (surfaceWindow_ == nullptr) {
            return false;
        }
        keepDialogLayoutOnDpiChange(surfaceWindow_);
        // The player draws into child windows of its own: the surface must not paint over them.
        const LONG_PTR style = GetWindowLongPtrW(surfaceWindow_, GWL_STYLE);
        SetWindowLongPtrW(surfaceWindow_, GWL_STYLE, style | WS_CLIPCHILDREN);
    }
    layout();
    ShowWindow(surfaceWindow_, SW_HIDE);
    return true;
}

void PlayWnd::showSurface(bool show) {
    if (surfaceWindow_ != nullptr) {
        ShowWindow(surfaceWindow_, show ? SW_SHOW : SW_HIDE);
    }
}

void PlayWnd::setDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    cursor_.setMoveThreshold(dpimath::scale(CursorIdle::kMoveThreshold, dpi_));
    logo_ = loadSkinImage(instance_, MAKEINTRESOURCEW(IDB_LOGO), dpi_);
    if (linkWindow_ != nullptr) {
        // The old font stays alive until the label has taken the new one.
        FontHandle font(createMessageFont(dpi_, 0, true));
        setLinkFont(linkWindow_, font.get());
        std::swap(linkFont_, font);
    }
    layout();
    if (frameWindow_ != nullptr) {
        InvalidateRect(frameWindow_, nullptr, TRUE);
    }
}

void PlayWnd::destroyWindows() {
    destroyIfWindow(linkWindow_);
    destroyIfWindow(surfaceWindow_);
    destroyIfWindow(frameWindow_);
    linkFont_.reset();
    // The cursor must not stay hidden after the video area is gone.
    if (cursor_.hidden()) {
        ShowCursor(TRUE);
        POINT position{};
        GetCursorPos(&position);
        cursor_.reset(position, links_.currentTick());
    }
}

bool PlayWnd::onVideoMessage(HWND window, UINT message, LPARAM lParam, bool isSurface) {
    switch (message) {
        case WM_PAINT: {
            PaintDC dc(window);
            paint(dc.get(), isSurface);
            return true;
        }
        case WM_CONTEXTMENU:
            showContextMenu();
            return true;
        case WM_LBUTTONDBLCLK:
            toggleFullScreen();
            return true;
        case WM_MOUSEMOVE:
            pointerMoved(window, lParam);
            return true;
        default:
            return false;
    }
}

INT_PTR CALLBACK PlayWnd::frameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        instance()->initFrame(dialog);
        return TRUE;
    }
    // Messages that arrive while the object is being deleted must not bring a new one to life.
    PlayWnd* self = g_instance;
    if (self == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_SIZE:
            self->layout();
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0) {
                openLinkTarget(reinterpret_cast<HWND>(lParam));
            }
            return TRUE;
        case WM_CTLCOLORSTATIC:
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(
                linkColorFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        default:
            return self->onVideoMessage(dialog, message, lParam, false);
    }
}

INT_PTR CALLBACK PlayWnd::surfaceProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    PlayWnd* self = g_instance;
    return self != nullptr && self->onVideoMessage(dialog, message, lParam, true);
}
