// How much a time change costs the control bar, against a full repaint of the same bar: the bar at its
// first-start width (672 px) in a shown window, a player that plays a one-hour clip. Prints a table;
// the first row is the ratio the bar is built for (a time refresh at most 5 % of a full repaint).

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "playback/PlayLogic.h"
#include "ui/GdiplusSession.h"
#include "ui/PlayBar.h"
#include "ui/WindowLibrary.h"

namespace {

constexpr int kBarWidth = 672;
constexpr int kIterations = 200;
constexpr int kRounds = 7;

// Plays forever: the clock moves by a quarter second on every read.
class BenchPlayer : public MediaPlayer {
public:
    PlayerType playerType() override { return PlayerVlc; }
    bool init(OutputWindow) override { return true; }
    void release() override {}
    bool open(const wchar_t*) override { return true; }
    void play() override {}
    bool isPlaying() override { return true; }
    void pause() override {}
    void stop() override {}
    std::int64_t getTime() override { return time_ = (time_ + 250) % 3600000; }
    std::int64_t getLength() override { return 3600000; }
    void setTime(std::int64_t ms) override { time_ = ms; }
    int getVolume() override { return 100; }
    bool setVolume(int) override { return true; }
    int getState() override { return StatePlaying; }
    void setHwnd(OutputWindow) override {}
    bool isMute() override { return false; }
    void toggleMute() override {}

private:
    std::int64_t time_ = 0;
};

HWND createHostWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelmoraBenchHost";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                           0, 0, kBarWidth + 40, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

double nowUs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Mean microseconds per call over one round, GdiFlush included so that batched drawing is counted.
double timeRound(const std::function<void()>& work) {
    const double start = nowUs();
    for (int i = 0; i < kIterations; ++i) {
        work();
    }
    GdiFlush();
    return (nowUs() - start) / kIterations;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 2;
    }
    HINSTANCE module = GetModuleHandleW(nullptr);
    initWindowLibrary(module);
    HWND host = createHostWindow();
    PlayLogic controller([](int) -> std::unique_ptr<MediaPlayer> { return std::make_unique<BenchPlayer>(); });
    controller.createMediaPlayer(PlayerVlc);

    PlayBar* bar = PlayBar::instance();
    bar->setLinks(WindowLinks{
        [&controller] { return &controller; }, [host] { return host; }, [] { return false; }, {}, {}});
    if (host == nullptr || !bar->create(module, host) || !bar->initControls()) {
        std::fprintf(stderr, "the bar could not be made\n");
        return 2;
    }
    MoveWindow(bar->window(), 0, 0, kBarWidth, bar->height(), TRUE);
    UpdateWindow(host);
    pump();

    const auto refresh = [bar] { bar->refreshTime(); };
    // Everything the bar shows, drawn again through the paint cycle: the bar and each of its buttons.
    const auto repaint = [bar] {
        RedrawWindow(bar->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    // The layout's redraw of the composite buffer (both sliders over the background) plus that repaint.
    const auto relayout = [bar, repaint] {
        SendMessageW(bar->window(), WM_SIZE, 0, 0);
        repaint();
    };

    std::vector<double> refreshUs, repaintUs, relayoutUs;
    for (int round = 0; round < kRounds; ++round) {
        // Interleaved, so that a slow phase of the machine hits both alike.
        refreshUs.push_back(timeRound(refresh));
        repaintUs.push_back(timeRound(repaint));
        relayoutUs.push_back(timeRound(relayout));
    }
    const double r = median(refreshUs);
    const double p = median(repaintUs);
    const double l = median(relayoutUs);

    std::printf("%-44s %12s\n", "measure (median of 7 rounds x 200 calls)", "value");
    std::printf("%-44s %11.1f%%\n", "refreshTime / full repaint (goal <= 5 %)", 100.0 * r / p);
    std::printf("%-44s %9.1f us\n", "refreshTime", r);
    std::printf("%-44s %9.1f us\n", "full repaint (bar and buttons, paint cycle)", p);
    std::printf("%-44s %9.1f us\n", "layout and full repaint", l);
    std::printf("%-44s %11.1f%%\n", "refreshTime / layout and full repaint", 100.0 * r / l);

    PlayBar::destroyInstance();
    DestroyWindow(host);
    shutdownWindowLibrary(module);
    return 0;
}
