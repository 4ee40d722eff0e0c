#include "ui/PlayBar.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "playback/PlayLogic.h"
#include "resource.h"
#include "ui/DpiMath.h"
#include "ui/Gdiplus.h"
#include "ui/MessageFont.h"
#include "ui/PlayBarRules.h"
#include "ui/SkinImage.h"
#include "ui/SkinPicture.h"
#include "ui/SystemDpi.h"
#include "ui/WindowLibrary.h"

namespace {

PlayBar* g_instance = nullptr;

// The bar's pictures and tooltips, in the order they are loaded and registered.
struct ButtonSkin {
    int controlId;
    const wchar_t* image;
    const wchar_t* tooltip;  // null: no tooltip
};
constexpr ButtonSkin kButtonSkins[] = {
    {IDC_BTN_OPEN, L"IDB_OPEN", L"Open"},
    {IDC_BTN_PLAY, L"IDB_PLAY", L"Play"},
    {IDC_BTN_PAUSE, L"IDB_PAUSE", L"Pause"},
    {IDC_BTN_STOP, L"IDB_STOP", L"Stop"},
    {IDC_BTN_PREV, L"IDB_PREV", L"Prev"},
    {IDC_BTN_NEXT, L"IDB_NEXT", L"Next"},
    {IDC_BTN_MUTE, L"IDB_MUTE", L"Mute On/Off"},
    {IDC_TIME_SLIDER, L"IDB_TIME_BKG", nullptr},
    {IDC_VOLUME_SLIDER, L"IDB_VOLUME_BAR", nullptr},
    {IDC_BTN_FULLSCREEN, L"IDB_FULLSCREEN1", L"Full Screen"},
    {IDC_BTN_LEAVE_FULLSCREEN, L"IDB_FULLSCREEN2", L"Leave Full Screen"},
};

// The main window's command for each button.
struct ButtonCommand {
    int controlId;
    int command;
};
constexpr ButtonCommand kButtonCommands[] = {
    {IDC_BTN_OPEN, ID_FILE_OPEN},
    {IDC_BTN_PLAY, ID_PLAY},
    {IDC_BTN_PAUSE, ID_PAUSE},
    {IDC_BTN_STOP, ID_STOP},
    {IDC_BTN_PREV, ID_PREVIOUS},
    {IDC_BTN_NEXT, ID_NEXT},
    {IDC_BTN_MUTE, ID_MUTE},
    {IDC_BTN_FULLSCREEN, ID_FULLSCREEN},
    {IDC_BTN_LEAVE_FULLSCREEN, ID_FULLSCREEN},
};

constexpr COLORREF kBackgroundColor = RGB(28, 28, 28);
// Lengths in pixels of a 96-DPI screen, scaled to the bar's DPI.
constexpr int kHeightWithoutBackground = 27;
constexpr int kTimeFontPixels = 11;  // the time text: the system's message font, this high
constexpr int kEdge = 1;             // from the bar's left and right ends to the first button
constexpr int kGap = 1;              // between two controls
constexpr int kSliderDrop = 3;       // the mute button and the volume slider sit lower than the others
constexpr int kTimeSliderDrop = 4;   // and the time slider lower still, under its text
// The bar's one timer: the end of a text about a change.
constexpr UINT_PTR kFeedbackTimer = 1;

HINSTANCE moduleInstance() {
    return GetModuleHandleW(nullptr);
}

bool majorVersionAtLeast6() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) && version.dwMajorVersion >= 6;
}

}  // namespace

PlayBar* PlayBar::instance() {
    if (g_instance == nullptr) {
        g_instance = new PlayBar();
    }
    return g_instance;
}

void PlayBar::destroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

PlayBar::PlayBar() {
    backgroundBrush_.reset(CreateSolidBrush(kBackgroundColor));
}

void PlayBar::loadPictures() {
    HINSTANCE module = moduleInstance();
    std::map<unsigned, SkinPicture> images;
    for (const ButtonSkin& skin : kButtonSkins) {
        SkinPicture picture = SkinPicture::find(module, skin.image, dpi_);
        if (!picture.empty()) {
            images[static_cast<unsigned>(skin.controlId)] = std::move(picture);
        }
    }
    SkinPicture muted = SkinPicture::find(module, L"IDB_MUTED", dpi_);
    std::unique_ptr<Gdiplus::Image> background = loadSkinImage(module, L"IDB_BAR_BKG", dpi_);
    std::unique_ptr<Gdiplus::Image> volumeBall = loadSkinImage(module, L"IDB_VOLUME_BALL", dpi_);
    std::unique_ptr<Gdiplus::Image> timeForeground = loadSkinImage(module, L"IDB_TIME_FORG", dpi_);
    std::unique_ptr<Gdiplus::Image> timeBall = loadSkinImage(module, L"IDB_TIME_BALL", dpi_);

    // The buffers prepared from the old pictures go with them, under their lock as every change of them.
    BufferLock::Hold hold(bufferLock_);
    imagesById_ = std::move(images);
    mutedPicture_ = std::move(muted);
    barBackground_ = std::move(background);
    volumeBall_ = std::move(volumeBall);
    timeForeground_ = std::move(timeForeground);
    timeBall_ = std::move(timeBall);
    compositeBuffer_.reset();
    backgroundBuffer_.reset();
    timeCache_.reset();
    timeCacheArea_ = RECT{};
    timeKnobPicture_.reset();
    playedPieces_.clear();
    timeArea_ = RECT{};
    volumeArea_ = RECT{};
    timeKnobWidth_ = -1;
    volumeKnobWidth_ = -1;
}

int PlayBar::px(int value) const {
    return dpimath::scale(value, dpi_);
}

PlayBar::~PlayBar() {
    destroyWindows();
    imagesById_.clear();
    timeCache_.reset();
    compositeBuffer_.reset();
    backgroundBuffer_.reset();
}

bool PlayBar::create(HINSTANCE instance, HWND parent) {
    if (window_ != nullptr) {
        return true;
    }
    dpi_ = links_.currentDpi();
    loadPictures();
    HWND bar = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PLAYBAR), parent, &PlayBar::dialogProc, 0);
    if (bar == nullptr) {
        OutputDebugStringW(L"PlayBar: create: dialog failed\n");
        return false;
    }
    window_ = bar;
    keepDialogLayoutOnDpiChange(bar);
    LONG_PTR exStyle = GetWindowLongPtrW(bar, GWL_EXSTYLE) | WS_EX_LAYERED;
    SetWindowLongPtrW(bar, GWL_EXSTYLE, exStyle);
    SetLayeredWindowAttributes(bar, RGB(0, 0, 0), 128, LWA_COLORKEY | LWA_ALPHA);
    if (majorVersionAtLeast6()) {
        SetWindowLongPtrW(bar, GWL_EXSTYLE, exStyle | WS_EX_COMPOSITED);
    }
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr, instance, nullptr);
    if (tooltip_ == nullptr) {
        OutputDebugStringW(L"PlayBar: create: tooltip window failed\n");
        return false;
    }
    attachAccess();
    ShowWindow(bar, SW_SHOW);
    return true;
}

bool PlayBar::initControls() {
    for (const ButtonSkin& skin : kButtonSkins) {
        HWND control = GetDlgItem(window_, skin.controlId);
        if (skin.tooltip == nullptr || skin.tooltip[0] == L'\0' || control == nullptr) {
            continue;
        }
        // A screen reader names a button by its window text; being owner-drawn, the button never shows it.
        SetWindowTextW(control, skin.tooltip);
        if (tooltip_ == nullptr) {
            continue;
        }
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<wchar_t*>(skin.tooltip);
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    makeFonts();
    return true;
}

void PlayBar::makeFonts() {
    timeFont_.reset(createMessageFont(dpi_, px(kTimeFontPixels), false));
    // The tooltip window made its font at the system's scale, which needn't be the bar's.
    const LOGFONTW tooltipFont = statusFontForDpi(dpi_);
    FontHandle font(CreateFontIndirectW(&tooltipFont));
    if (tooltip_ != nullptr && font) {
        SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        tooltipFont_ = std::move(font);
    }
}

void PlayBar::setDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    loadPictures();
    if (window_ == nullptr) {
        return;
    }
    makeFonts();
    layout();
    // The buttons keep their places while the bar is laid out; their pictures changed all the same.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void PlayBar::destroyWindows() {
    // Readers may hold the parts' objects longer than the windows live.
    access_.detach();
    destroyIfWindow(tooltip_);
    destroyIfWindow(window_);
}

PlayLogic* PlayBar::controller() const {
    return links_.currentController();
}

Gdiplus::Image* PlayBar::imageFor(int controlId) {
    auto found = imagesById_.find(static_cast<unsigned>(controlId));
    return found != imagesById_.end() ? found->second.image() : nullptr;
}

int PlayBar::height() const {
    if (window_ == nullptr) {
        return 0;
    }
    return barBackground_ ? imageHeight(barBackground_.get()) : px(kHeightWithoutBackground);
}

int PlayBar::place(int controlId, int x, bool rightward, int verticalOffset) {
    HWND control = GetDlgItem(window_, controlId);
    // Placed by its picture's size: a button not shown yet has its picture decoded when it first shows.
    auto found = imagesById_.find(static_cast<unsigned>(controlId));
    if (control == nullptr || found == imagesById_.end()) {
        return x;
    }
    const int w = found->second.width();
    const int h = found->second.height();
    const int y = (height() - h) / 2 + verticalOffset;
    SetWindowPos(control, nullptr, rightward ? x : x - w, y, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    return rightward ? x + w + px(kGap) : x - w - px(kGap);
}

void PlayBar::layout() {
    if (window_ == nullptr) {
        return;
    }
    BufferLock::Hold hold(bufferLock_);
    timeArea_ = RECT{};
    volumeArea_ = RECT{};
    RECT client{};
    GetClientRect(window_, &client);

    place(IDC_BTN_OPEN, px(kEdge), true, 0);
    const int x1 = place(IDC_BTN_STOP, px(kEdge), true, 0);
    place(IDC_BTN_PLAY, x1, true, 0);
    const int x2 = place(IDC_BTN_PAUSE, x1, true, 0);
    const int x3 = place(IDC_BTN_PREV, x2, true, 0);
    const int left = place(IDC_BTN_NEXT, x3, true, 0);

    const int start = client.right - px(kEdge);
    place(IDC_BTN_FULLSCREEN, start, false, 0);
    const int r1 = place(IDC_BTN_LEAVE_FULLSCREEN, start, false, 0);
    const int r2 = place(IDC_BTN_MUTE, r1, false, px(kSliderDrop));
    const int right = place(IDC_VOLUME_SLIDER, r2, false, px(kSliderDrop));

    HWND timeArea = GetDlgItem(window_, IDC_TIME_SLIDER);
    if (Gdiplus::Image* track = imageFor(IDC_TIME_SLIDER); timeArea != nullptr && track != nullptr) {
        const int h = imageHeight(track);
        SetWindowPos(timeArea, nullptr, left, (height() - h) / 2 + px(kTimeSliderDrop),
                     std::max(right - left, 0), h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    InvalidateRect(window_, nullptr, FALSE);
    timeArea_ = sliderArea(IDC_TIME_SLIDER);
    volumeArea_ = sliderArea(IDC_VOLUME_SLIDER);
    placeToldStatus();

    ensureBuffers();
    timeCache_.reset();  // the area or the background may have changed
    if (!compositeBuffer_.empty()) {
        if (!backgroundBuffer_.empty()) {
            BitBlt(compositeBuffer_.dc(), 0, 0, backgroundBuffer_.width(), backgroundBuffer_.height(),
                   backgroundBuffer_.dc(), 0, 0, SRCCOPY);
        }
        drawVolumeSlider(compositeBuffer_.dc());
        drawTimeSlider(compositeBuffer_.dc());
    }
}

void PlayBar::paint(HDC dc) {
    {
        BufferLock::Hold hold(bufferLock_);
        HWND mainWindow = links_.currentMainWindow();
        RECT area{};
        GetClientRect(mainWindow != nullptr ? mainWindow : window_, &area);
        FillRect(dc, &area, backgroundBrush_.get());
        if (area.right - area.left != 0) {
            tileImage(dc, barBackground_.get(), 0, 0, area.right - area.left);
        }
    }
    if (!compositeBuffer_.empty()) {
        present(dc);
    }
}

void PlayBar::drawButton(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) {
        return;
    }
    Gdiplus::Image* image = buttonPicture(static_cast<int>(item.CtlID));
    if (image == nullptr) {
        return;
    }
    const int pressed = ((item.itemAction & ODA_SELECT) != 0 || (item.itemState & ODS_SELECTED) != 0) ? 1 : 0;
    RECT control{};
    GetWindowRect(item.hwndItem, &control);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&control), 2);
    if (!backgroundBuffer_.empty()) {
        BitBlt(item.hDC, 0, 0, control.right - control.left, control.bottom - control.top,
               backgroundBuffer_.dc(), control.left, control.top, SRCCOPY);
    }
    Gdiplus::Graphics graphics(item.hDC);
    if ((item.itemState & ODS_DISABLED) != 0) {
        drawImageDimmed(graphics, image, item.rcItem.left, item.rcItem.top);
    } else {
        drawImage(graphics, image, item.rcItem.left + pressed, item.rcItem.top + pressed);
    }
}

Gdiplus::Image* PlayBar::buttonPicture(int controlId) {
    if (controlId == IDC_BTN_MUTE && shownMuted_) {
        if (Gdiplus::Image* muted = mutedPicture_.image()) {
            return muted;
        }
    }
    return imageFor(controlId);
}

void PlayBar::showControl(int controlId, bool show, bool enable) {
    HWND control = GetDlgItem(window_, controlId);
    if (control == nullptr) {
        return;
    }
    if (show) {
        EnableWindow(control, enable);
        ShowWindow(control, SW_SHOW);
    } else {
        ShowWindow(control, SW_HIDE);
        EnableWindow(control, enable);
    }
}

void PlayBar::updateButtons() {
    if (window_ == nullptr) {
        return;
    }
    PlayLogic* logic = controller();
    const int state = logic != nullptr ? logic->state() : StateNothing;

    const playbar::ButtonGroup group = playbar::buttonGroupFor(state);
    for (int id : group.hidden) {
        showControl(id, false, false);
    }
    for (int id : group.shown) {
        showControl(id, true, true);
    }
    const bool canStep = logic != nullptr && logic->playlist().canStep();
    showControl(IDC_BTN_PREV, true, canStep);
    showControl(IDC_BTN_NEXT, true, canStep);
    if (state != StatePlaying) {
        showControl(IDC_BTN_PLAY, true, logic != nullptr && logic->playlist().count() >= 1);
        if (state != StatePaused) {
            position_ = 0;
        }
    }
    const bool fullScreen = links_.isFullScreen();
    showControl(IDC_BTN_FULLSCREEN, !fullScreen, !fullScreen);
    showControl(IDC_BTN_LEAVE_FULLSCREEN, fullScreen, fullScreen);
    tellAvailabilityToReaders();
}

void PlayBar::setLastActivity(DWORD tick, POINT cursor) {
    lastActivity_ = tick;
    lastCursor_ = cursor;
}

bool PlayBar::isShown() const {
    return (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Shows or hides the bar in full screen; the main window lays its video area out again.
void PlayBar::setShown(bool shown) {
    ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
    PostMessageW(links_.currentMainWindow(), WM_SIZE, 0, 0);
}

void PlayBar::autoHideTick() {
    if (lastActivity_ == 0 || window_ == nullptr) {
        return;
    }
    const DWORD now = GetTickCount();
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT bar{};
    GetWindowRect(window_, &bar);
    switch (playbar::autoHideStep(lastActivity_, lastCursor_, now, cursor, PtInRect(&bar, cursor) != FALSE,
                                  isShown(), px(playbar::kAutoHideMove))) {
        case playbar::AutoHideStep::Hide:
            setShown(false);
            break;
        case playbar::AutoHideStep::ShowRecord:
            setShown(true);
            setLastActivity(now, cursor);
            break;
        case playbar::AutoHideStep::Record:
            setLastActivity(now, cursor);
            break;
        case playbar::AutoHideStep::Nothing:
        case playbar::AutoHideStep::KeepResting:
            break;
    }
}

void PlayBar::onCommand(int controlId) {
    for (const ButtonCommand& button : kButtonCommands) {
        if (button.controlId == controlId) {
            HWND mainWindow = links_.currentMainWindow();
            PostMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(button.command, 0), 0);
            return;
        }
    }
}

INT_PTR CALLBACK PlayBar::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    PlayBar* bar = g_instance;
    if (bar == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_SIZE:
            bar->layout();
            return TRUE;
        case WM_PAINT: {
            PaintDC paint(dialog);
            bar->paint(paint.get());
            return FALSE;
        }
        case WM_DRAWITEM:
            if (lParam != 0) {
                bar->drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            }
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDOK || id == IDCANCEL) {
                return TRUE;
            }
            for (const ButtonCommand& button : kButtonCommands) {
                if (button.controlId == id) {
                    // An owner-drawn button reports a quick second click as BN_DOUBLECLICKED alone, with
                    // no BN_CLICKED: each of the two notifications is one click.
                    const WORD notification = HIWORD(wParam);
                    if (notification == BN_CLICKED || notification == BN_DOUBLECLICKED) {
                        bar->onCommand(id);
                    }
                    return TRUE;
                }
            }
            return FALSE;
        }
        case WM_LBUTTONDOWN:
            bar->pressSlider(lParam);
            return TRUE;
        case WM_MOUSEMOVE:
            if (GetCapture() == dialog) {
                bar->dragSlider(lParam);
            }
            return TRUE;
        case WM_LBUTTONUP:
            if (GetCapture() == dialog) {
                bar->endDrag();
            }
            return TRUE;
        case WM_TIMER:
            if (wParam == kFeedbackTimer) {
                bar->endFeedback();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void PlayBar::showFeedback(const std::wstring& text, int durationMs) {
    if (window_ == nullptr) {
        return;
    }
    feedback_ = text;
    SetTimer(window_, kFeedbackTimer, static_cast<UINT>(durationMs), nullptr);
    redrawTime();
    // In full screen the bar may have hidden itself: the text brings it back, to hide again at rest.
    if (!isShown() && lastActivity_ != 0) {
        setShown(true);
        POINT cursor{};
        GetCursorPos(&cursor);
        setLastActivity(GetTickCount(), cursor);
    }
}

void PlayBar::endFeedback() {
    KillTimer(window_, kFeedbackTimer);
    feedback_.clear();
    redrawTime();
}
