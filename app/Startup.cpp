#include "app/Startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <new>

#include "app/AppState.h"
#include "app/commands/CommandLine.h"
#include "app/desktop/Desktop.h"
#include "app/instance/HandOff.h"
#include "app/window/MainWindow.h"
#include "app/MediaPlayerApp.h"
#include "app/window/Placement.h"
#include "app/window/PlacementRecord.h"
#include "app/window/PlayerWindows.h"
#include "playback/PlayLogic.h"
#include "playback/ReadableFile.h"
#include "resources/resource.h"
#include "ui/WindowLibrary.h"

namespace {

constexpr DWORD kAllCommonControlClasses = 0xFF;

void initCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = kAllCommonControlClasses;
    InitCommonControlsEx(&controls);
}

HWND makeMainWindow(HINSTANCE instance) {
    return CreateWindowExW(0, kMainWindowClass, kInitialTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

// The window takes its saved place still hidden. Answers the show command the placement was saved with,
// 0 without one.
UINT applySavedPlacement(HWND window) {
    AppState& state = appState();
    if (!state.placementValid) {
        return 0;
    }
    WINDOWPLACEMENT placement = state.placement;
    keepRestorable(placement);
    const UINT savedShow = placement.showCmd;
    placement.showCmd = SW_HIDE;
    // A placement the system refuses is no placement: the first layout gives the standard size, centred.
    if (!SetWindowPlacement(window, &placement)) {
        state.placementValid = FALSE;
        return 0;
    }
    return savedShow;
}

// Shows the window as the start asks, except that a window closed maximised is maximised by this very
// show, so that it is never painted at its restored size first; started minimised, it comes back
// maximised when restored. Its restored size stays the placed one either way.
void showFirstTime(HWND window, int showCommand, UINT savedShow) {
    if (savedShow != SW_SHOWMAXIMIZED) {
        ShowWindow(window, showCommand);
        return;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    placement.showCmd = placementrecord::firstShowCommand(static_cast<UINT>(showCommand), savedShow);
    if (placementrecord::minimises(placement.showCmd)) {
        placement.flags |= WPF_RESTORETOMAXIMIZED;
    }
    SetWindowPlacement(window, &placement);
}

// A start-up that could not finish leaves nothing behind; it shows no message.
void abandonStartup() {
    AppState& state = appState();
    destroyComponents();
    if (state.mainWindow != nullptr) {
        HWND window = state.mainWindow;
        state.mainWindow = nullptr;
        DestroyWindow(window);
    }
    state.app.reset();
    shutdownWindowLibrary(state.instance);
}

}  // namespace

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kMainWindowClass, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool createMainWindow(HINSTANCE instance, int showCommand) {
    AppState& state = appState();
    initCommonControls();
    state.instance = instance;
    initWindowLibrary(instance);

    HWND window = makeMainWindow(instance);
    state.mainWindow = window;
    if (window == nullptr) {
        return false;
    }
    // The controller shows playback in the windows made below; it sees them through their view.
    state.controller.reset(new (std::nothrow) PlayLogic({}, &playerWindows()));
    if (!state.controller || !state.controller->receivesEvents() || !createChildWindows()) {
        return false;
    }
    state.controller->setResumeStore(&resumePlaces());
    playerWindows().refreshVolume();
    state.timerId = SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
    // The window gets its place, its first size and its buttons while it is hidden: the first paint
    // shows it as it stays, and nothing on screen moves after it.
    const UINT savedShow = applySavedPlacement(window);
    playerWindows().updateButtons();
    state.layoutEnabled = TRUE;
    layoutWindows();
    showFirstTime(window, showCommand, savedShow);
    UpdateWindow(window);
    return true;
}

bool createChildWindows() {
    return playerWindows().create();
}

void destroyComponents() {
    AppState& state = appState();
    if (state.mainWindow != nullptr && state.timerId != 0) {
        KillTimer(state.mainWindow, state.timerId);
    }
    state.timerId = 0;
    playerWindows().destroy();
    if (state.controller) {
        // The player is released while the controller that receives its events still exists.
        if (std::unique_ptr<MediaPlayer> player = state.controller->takePlayer()) {
            player->release();
        }
        state.controller.reset();
    }
    detachFromDesktop();
}

void shutdownApp() {
    AppState& state = appState();
    savePlacement();
    state.app.reset();
    shutdownWindowLibrary(state.instance);
}

int runMessageLoop(HACCEL accelerators) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The accelerators target the main window whichever of the player's windows has the focus.
        if (TranslateAcceleratorW(appState().mainWindow, accelerators, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int runPlayer(HINSTANCE instance, const wchar_t* commandTail, int showCommand) {
    resetAppState();
    loadPlacement();
    appState().app.reset(new (std::nothrow) VelmoraPlayer());

    // A name relative to the folder this start was given means the file there, for a running copy too.
    const std::wstring path = absolutePath(commandTailPath(commandTail));

    if (!path.empty() && fileOpensForReading(path) && handOffToRunningInstance(productName(), path)) {
        shutdownApp();
        return 0;
    }
    if (!registerMainWindowClass(instance) || !createMainWindow(instance, showCommand)) {
        abandonStartup();
        return 0;
    }
    if (!path.empty() && fileOpensForReading(path)) {
        openMediaFile(path);
    }
    publishMainWindow(productName(), appState().mainWindow);
    acceptDroppedFiles(appState().mainWindow);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    int exitCode = runMessageLoop(accelerators);
    shutdownApp();
    return exitCode;
}
