// Watching a film with real decoding through the bridge: the Subtitles, Audio and Chapters submenus and
// their keys, a subtitle file, the speed and delay keys and what the library's clock does at 2x, and the
// texts that tell the viewer what changed. The film (scripts/make-clips.sh, tracks/) is dark, with two
// audio tracks and two subtitle tracks of different lines; the first subtitle track shows from the start.
// The chapters clip (chapters/) has three chapters, and a clip without any after it in its folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <regex>
#include <string>

#include "common/TestClips.h"
#include "e2e/LibraryLog.h"
#include "e2e/PlayerFixture.h"
#include "e2e/ScreenCapture.h"
#include "resources/resource.h"

namespace e2e {
namespace {

constexpr char kFilm[] = "tracks/film.mkv";
// Five minutes of one colour, long enough to be left in its middle.
constexpr char kLongFilm[] = "film/five minutes.mp4";
constexpr char kSubtitleFile[] = "tracks/внешние субтитры 100% #1/extra.srt";
constexpr char kChapters[] = "chapters/chapters.mkv";

// Where the film is watched: the window at a display scale, or full screen.
struct Place {
    const char* name;
    UINT dpi;
    bool fullScreen;
};

class Watching : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::wstring name = testtext::fromUtf8(std::string(test->name()));
        for (wchar_t& c : name) {
            c = iswalnum(c) ? c : L'_';
        }
        log_ = std::make_unique<LibraryLog>(newFolder(L"Library Logs") + L"\\" + name + L".log");
        extraEnvironment_.push_back({L"VELMORA_BRIDGE_LOG", log_->path()});
    }

    // The film plays at the place, and the library has reported its first time: its tracks are known.
    ::testing::AssertionResult startFilm(const Place& place = {"window", 96, false},
                                         const char* clip = kFilm) {
        const std::wstring film = testclips::path(clip);
        auto started = place.dpi == 96 ? startPlayer(film) : startPlayerAtDpi(place.dpi, film);
        if (!started) {
            return started;
        }
        if (auto titled = waitForTitle(titleFor(film.substr(film.find_last_of(L'\\') + 1).c_str()));
            !titled) {
            return titled;
        }
        if (place.fullScreen) {
            player_.sendKey('F');
            if (!waitUntil([&] { return isFullScreen(); }, 5000)) {
                return ::testing::AssertionFailure() << "F did not enter full screen";
            }
        }
        if (!waitUntil([&] { return !log_->values("time").empty(); }, 10000)) {
            return ::testing::AssertionFailure() << "the library reports no time";
        }
        return waitForShownSurface(surface_);
    }

    // The surface as the screen shows it above the bar (which, in full screen, lies over its foot).
    Picture picture() const {
        RECT shown = testwin::clientRectOnScreen(surface_);
        const HWND bar = controlBar();
        if (bar != nullptr && IsWindowVisible(bar)) {
            shown.bottom = std::min(shown.bottom, windowRect(bar).top);
        }
        return captureScreen(shown);
    }
    // The width of the white subtitle line low in the picture; 0 while none shows.
    int subtitleWidth() const {
        const Picture shown = picture();
        int span = 0;
        return shown.brightPixels(shown.height * 2 / 3, shown.height, &span) > 60 ? span : 0;
    }
    // White pixels in the picture's top third: the text that tells the viewer what changed.
    size_t toldOnPicture() const {
        const Picture shown = picture();
        return shown.brightPixels(0, shown.height / 3);
    }
    // Waits for a subtitle line wider than `than` (its first appearance with 0) and hands back its width.
    ::testing::AssertionResult waitForSubtitleWiderThan(int than, int& width) const {
        // An embedded track chosen while playing shows after about 1.75 s, when the library has read ahead.
        if (waitUntil([&] { return (width = subtitleWidth()) > than + than / 20; }, 8000, 100)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "the subtitle line is " << width << " px wide, not over " << than;
    }
    // Waits until no subtitle has shown for 1.5 s: the film's lines follow each other without a gap.
    ::testing::AssertionResult waitForNoSubtitles() const {
        DWORD clearSince = 0;
        const bool clear = waitUntil(
            [&] {
                if (subtitleWidth() != 0) {
                    clearSince = 0;
                    return false;
                }
                clearSince = clearSince != 0 ? clearSince : GetTickCount();
                return GetTickCount() - clearSince >= 1500;
            },
            10000, 100);
        return clear ? ::testing::AssertionSuccess()
                     : ::testing::AssertionFailure() << "a subtitle still shows";
    }
    // The text over the picture comes, then goes again by itself.
    ::testing::AssertionResult toldAndGone() const {
        if (!waitUntil([&] { return toldOnPicture() > 20; }, 5000, 50)) {
            return ::testing::AssertionFailure() << "no text over the picture";
        }
        if (!waitUntil([&] { return toldOnPicture() == 0; }, 8000, 100)) {
            return ::testing::AssertionFailure() << "the text over the picture stays";
        }
        return ::testing::AssertionSuccess();
    }
    // Opens the context menu and presses the keys in it.
    ::testing::AssertionResult chooseInMenu(std::initializer_list<UINT> keys) const {
        const HWND menu = openContextMenu();
        if (menu == nullptr) {
            return ::testing::AssertionFailure() << "no context menu";
        }
        menuKeys(menu, keys);
        if (!waitUntil([&] { return player_.findPopupMenu() == nullptr; }, 5000)) {
            PostMessageW(player_.window(), WM_CANCELMODE, 0, 0);
            return ::testing::AssertionFailure() << "the menu stayed open";
        }
        return ::testing::AssertionSuccess();
    }

    // The time typed into the Go to Time dialog, opened by Ctrl+G's command unless it is given, and OK
    // pressed; the dialog (gone once it took the time).
    HWND goToTime(const wchar_t* text, HWND dialog = nullptr) const {
        if (dialog == nullptr && player_.postCommand(ID_GO_TO_TIME)) {
            dialog = player_.waitForDialog([](HWND d) { return windowText(d) == L"Go to Time"; }, 5000);
        }
        SendMessageW(GetDlgItem(dialog, IDC_GO_TO_TIME_FIELD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return dialog;
    }
    // Waits until the library reports a time at or after `time` (ms).
    bool waitForTimeFrom(long long time) const {
        return waitUntil(
            [&] {
                const std::vector<long long> times = log_->values("time");
                return !times.empty() && times.back() >= time;
            },
            10000);
    }

    std::unique_ptr<LibraryLog> log_;
    HWND surface_ = nullptr;
};

constexpr Place kWindow{"window", 96, false};

class WatchingAt : public Watching, public ::testing::WithParamInterface<Place> {};

// The Subtitles menu lists Off and the film's two tracks ("s" opens it on Off): the second track's line
// takes the place of the first one's, and Off takes it away; each change is told over the picture for a
// while.
TEST_P(WatchingAt, SubtitlesMenuChoosesTheLineOnThePicture) {
    ASSERT_TRUE(startFilm(GetParam()));
    int first = 0;
    ASSERT_TRUE(waitForSubtitleWiderThan(0, first)) << "the first track does not show from the start";

    ASSERT_TRUE(chooseInMenu({'s', VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(toldAndGone());
    int second = 0;
    EXPECT_TRUE(waitForSubtitleWiderThan(first, second)) << "\"Second subtitle track\" is the wider line";
    if (GetParam().dpi == 96 && !GetParam().fullScreen) {
        saveScreenshot(L"film-subtitle-track");
    }
    ASSERT_TRUE(chooseInMenu({'s', VK_RETURN}));
    EXPECT_TRUE(waitForNoSubtitles());
}

INSTANTIATE_TEST_SUITE_P(Places, WatchingAt,
                         ::testing::Values(Place{"window", 96, false}, Place{"at150percent", 144, false},
                                           Place{"fullScreen", 96, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// S goes from the first track to the second, then Off, then the first again.
TEST_F(Watching, SGoesThroughTheSubtitleTracksAndOff) {
    ASSERT_TRUE(startFilm());
    int first = 0;
    ASSERT_TRUE(waitForSubtitleWiderThan(0, first));
    player_.sendKey('S');
    int second = 0;
    EXPECT_TRUE(waitForSubtitleWiderThan(first, second));
    player_.sendKey('S');
    EXPECT_TRUE(waitForNoSubtitles());
    player_.sendKey('S');
    int again = 0;
    EXPECT_TRUE(waitForSubtitleWiderThan(0, again));
    EXPECT_LT(again, second - second / 20) << "S went to the second track first";
}

// Load Subtitle File... (the last item of Subtitles) takes a file from a folder whose name has a blank,
// a # and Cyrillic letters, and its one line shows at once in place of the film's.
TEST_F(Watching, LoadSubtitleFileShowsItsLine) {
    ASSERT_TRUE(startFilm());
    int film = 0;
    ASSERT_TRUE(waitForSubtitleWiderThan(0, film));
    const HWND menu = openContextMenu();
    ASSERT_NE(menu, nullptr);
    menuKeys(menu, {'s'});
    saveScreenshot(L"film-subtitles-menu");
    menuKeys(menu, {VK_UP, VK_RETURN});
    const HWND dialog =
        player_.waitForDialog([](HWND d) { return windowText(d) == L"Load Subtitle File"; }, 5000);
    ASSERT_NE(dialog, nullptr) << "no dialog titled \"Load Subtitle File\"";
    ASSERT_TRUE(chooseInDialog(dialog, testclips::path(kSubtitleFile)));
    int line = 0;
    EXPECT_TRUE(waitForSubtitleWiderThan(film, line)) << "\"A line from a subtitle file\" is the widest line";
}

// The Audio menu lists both tracks and A goes round them: the library's current track follows.
TEST_F(Watching, AudioMenuAndAChooseTheLibrarysTrack) {
    ASSERT_TRUE(startFilm());
    player_.sendKey('A');
    EXPECT_TRUE(log_->waitFor("audio_track 2", 5000));
    player_.sendKey('A');
    EXPECT_TRUE(log_->waitFor("audio_track 1", 5000));
    ASSERT_TRUE(chooseInMenu({'a', VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(log_->waitFor("audio_track 2", 5000, 2));
    ASSERT_TRUE(chooseInMenu({'a', VK_RETURN}));
    EXPECT_TRUE(log_->waitFor("audio_track 1", 5000, 2));
}

// ], [ and Backspace, typed on the keyboard: the library's rate follows, the speed shows beside the time
// while it isn't normal, and at 2x the library's own clock runs at least 1.7 s a second. The rate is
// bounded from the library's time reports as the contract suite bounds it (ClockRate.h): a slow machine
// can only make the bound larger.
TEST_F(Watching, SpeedKeysMoveTheLibrarysRateAndTheDisplay) {
    ASSERT_TRUE(startFilm());
    const auto timeTextLeft = [&] { return captureScreen(timeTextOnScreen()).leftmostDark(100); };
    int normal = -1;
    ASSERT_TRUE(waitUntil([&] { return (normal = timeTextLeft()) > 0; }, 5000)) << "no time text";
    for (const char* rate : {"rate 1.25", "rate 1.5", "rate 2"}) {
        ASSERT_EQ(typeCharacter(L']'), 2u);
        ASSERT_TRUE(log_->waitFor(rate, 5000)) << rate;
    }
    EXPECT_TRUE(waitUntil([&] { return timeTextLeft() < normal - 8; }, 5000)) << "no speed beside the time";
    saveScreenshot(L"film-speed");

    clockrate::Report a, b;
    ASSERT_TRUE(log_->reportAfter(a));
    // Over 3 s of the film, which at 2x takes 1.5 s; the bounds hold whatever the span turns out to be.
    ASSERT_TRUE(waitUntil([&] { return log_->values("time").back() >= a.time + 3000; }, 10000));
    ASSERT_TRUE(log_->reportAfter(b));
    const clockrate::Rate rate = clockrate::between(a, b);
    std::printf("library's clock at 2x: %.2f to %.2f s a second\n", rate.slowest, rate.fastest);
    EXPECT_GE(rate.fastest, 1.7);

    ASSERT_EQ(typeCharacter(L'['), 2u);
    EXPECT_TRUE(log_->waitFor("rate 1.5", 5000, 2));
    ASSERT_EQ(typeKey(VK_BACK), 2u);
    EXPECT_TRUE(log_->waitFor("rate 1", 5000));
    EXPECT_TRUE(waitUntil([&] { return timeTextLeft() == normal; }, 5000)) << "the speed still shows";
}

// The Chapters menu lists the clip's three chapters ("c" opens it on the first), and Ctrl+Page Down and
// Ctrl+Page Up step through them, each told over the picture: Ctrl+Page Down reaches the second; the third
// is chosen in the menu; Ctrl+Page Up, pressed at once, goes to the second again. The clip is 12 s long: no
// step waits for a text to go.
TEST_F(Watching, ChaptersMenuAndCtrlPageKeysMoveTheLibrary) {
    ASSERT_TRUE(startFilm({"window", 96, false}, kChapters));
    ASSERT_EQ(typeKey(VK_NEXT, VK_CONTROL), 4u);
    EXPECT_TRUE(log_->waitFor("chapter 1", 5000));
    EXPECT_TRUE(waitUntil([&] { return toldOnPicture() > 20; }, 5000, 50)) << "Chapter 2: The Road";
    ASSERT_TRUE(chooseInMenu({'c', VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(log_->waitFor("chapter 2", 5000));
    ASSERT_EQ(typeKey(VK_PRIOR, VK_CONTROL), 4u);
    EXPECT_TRUE(log_->waitFor("chapter 1", 5000, 2)) << "within two seconds of the third's start";
}

// G, H, J and K move the subtitles and the sound by a tenth of a second each, as the library reads them
// back (in microseconds), told over the picture; the next file (Page Down) starts again at 0.
TEST_F(Watching, DelayKeysReachTheLibraryAndTheNextFileStartsAtZero) {
    ASSERT_TRUE(startFilm({"window", 96, false}, kChapters));
    player_.sendKey('G');
    EXPECT_TRUE(log_->waitFor("spu_delay -100000", 5000));
    EXPECT_TRUE(waitUntil([&] { return toldOnPicture() > 20; }, 5000, 50)) << "Subtitle delay: -100 ms";
    for (const UINT key : {'H', 'H', 'J', 'K', 'K'}) {
        player_.sendKey(key);
    }
    EXPECT_TRUE(log_->waitFor("spu_delay 100000", 5000));
    EXPECT_TRUE(log_->waitFor("audio_delay -100000", 5000));
    EXPECT_TRUE(log_->waitFor("audio_delay 100000", 5000));

    player_.sendKey(VK_NEXT);
    ASSERT_TRUE(waitForTitle(titleFor(L"plain.mkv")));
    // The next file's own time report: its input is there to take a delay.
    const size_t reports = log_->values("time").size();
    ASSERT_TRUE(waitUntil([&] { return log_->values("time").size() > reports; }, 10000));
    player_.sendKey('H');
    player_.sendKey('J');
    EXPECT_TRUE(log_->waitFor("spu_delay 100000", 5000, 2));
    EXPECT_TRUE(log_->waitFor("audio_delay -100000", 5000, 2));
}

// The volume and a seek by key are told over the picture for a while, in the window and in full screen.
TEST_F(Watching, VolumeAndSeekAreToldOverThePicture) {
    ASSERT_TRUE(startFilm());
    player_.sendKey(VK_DOWN);
    saveScreenshot(L"film-told-volume");
    EXPECT_TRUE(toldAndGone()) << "volume";
    player_.sendKey('M');
    saveScreenshot(L"film-muted");
    EXPECT_TRUE(toldAndGone()) << "mute";
    player_.sendKey('F');
    ASSERT_TRUE(waitUntil([&] { return isFullScreen(); }, 5000));
    ASSERT_TRUE(waitForShownSurface(surface_));
    player_.sendKey(VK_RIGHT);
    EXPECT_TRUE(toldAndGone()) << "seek";
}

// Five minutes of a film (Ctrl+G and Ctrl+Right by their commands: a key with Ctrl can't be posted, and
// the accelerator table is checked where it is made). Ctrl+G answers "abc" in the dialog, which stays open
// and asks the library nothing, and takes "1:30"; Ctrl+Right moves a minute on from where the library is (the
// time it last reported before the seek, or a report on its way at most a second later). Closed 3 minutes in
// and opened again, the film starts from its beginning, says where it can resume (in the minute it was left,
// 3 unless closing took that long), and R carries on from there.
TEST_F(Watching, JumpsInAFilmAndResumesWhereItWasClosed) {
    ASSERT_TRUE(startFilm(kWindow, kLongFilm));
    const HWND dialog = goToTime(L"abc");
    EXPECT_TRUE(waitUntil(
        [&] {
            return windowText(GetDlgItem(dialog, IDC_GO_TO_TIME_HINT)).rfind(L"Not a time. Type", 0) == 0;
        },
        5000));
    goToTime(L"1:30", dialog);
    ASSERT_TRUE(log_->waitFor("set_time 90000", 5000));
    EXPECT_EQ(log_->values("set_time"), std::vector<long long>{90000}) << "\"abc\" asked for a time";
    ASSERT_TRUE(waitForTimeFrom(90000)) << "the library did not arrive at 1:30";
    player_.postCommand(ID_MOVE_FORWARD_MINUTE);
    ASSERT_TRUE(waitUntil([&] { return log_->values("set_time").size() == 2; }, 5000)) << "no seek";
    long long reported = 0;
    for (const std::string& line : log_->lines()) {
        if (line.rfind("set_time ", 0) == 0 && reported >= 90000) {
            break;
        }
        reported = line.rfind("time ", 0) == 0 ? std::atoll(line.c_str() + 5) : reported;
    }
    EXPECT_GE(log_->values("set_time")[1], reported + 60000);
    EXPECT_LE(log_->values("set_time")[1], reported + 61000);

    goToTime(L"3:00");
    ASSERT_TRUE(waitForTimeFrom(180000)) << "the library did not arrive at 3:00";
    ASSERT_TRUE(player_.requestClose() && player_.waitForExit(15000));
    const long long leftAt = log_->values("time").back();
    DeleteFileW(log_->path().c_str());
    ASSERT_TRUE(startFilm(kWindow, kLongFilm));
    EXPECT_LT(log_->values("time").front(), 5000) << "the film does not start from its beginning";
    const std::regex offer("marquee_text Resume from 00:0" + std::to_string(leftAt / 60000) +
                           ":[0-5][0-9]: press R");
    EXPECT_TRUE(waitUntil(
        [&] {
            const std::vector<std::string> lines = log_->lines();
            return std::any_of(lines.begin(), lines.end(),
                               [&](auto& line) { return std::regex_match(line, offer); });
        },
        5000))
        << "no offer to resume on the picture";
    EXPECT_TRUE(log_->values("set_time").empty()) << "the film went somewhere by itself";
    ASSERT_EQ(typeKey('R'), 2u);
    ASSERT_TRUE(waitUntil([&] { return !log_->values("set_time").empty(); }, 5000)) << "R did not seek";
    const long long resumed = log_->values("set_time").front();
    EXPECT_GE(resumed, 180000);
    EXPECT_LE(resumed, leftAt + 1000) << "the film's last time was " << leftAt;
    EXPECT_TRUE(waitForTimeFrom(resumed)) << "the film does not carry on from there";
}

// A text told over one film does not come back over the next, which the library would show it over
// again: after the move to the next file at the end of one, after Stop and Play, and after Page Down. The
// library gets each '%' of a text doubled (its text is a time format).
TEST_F(Watching, AToldTextStaysWithItsFilm) {
    const auto firstSecondIsClear = [&](const wchar_t* name) -> ::testing::AssertionResult {
        if (auto titled = waitForTitle(titleFor(name)); !titled) {
            return titled;
        }
        if (auto shown = waitForShownSurface(surface_); !shown) {
            return shown;
        }
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 1000) {
            if (const size_t told = toldOnPicture(); told != 0) {
                return ::testing::AssertionFailure() << told << " text pixels over " << name;
            }
        }
        return ::testing::AssertionSuccess();
    };
    const auto tellVolume = [&](size_t times) {
        player_.sendKey(VK_DOWN);
        return log_->waitFor("marquee_text Volume " + std::to_string(100 - 10 * times) + " %%", 5000) &&
               waitUntil([&] { return toldOnPicture() > 20; }, 5000, 50);
    };
    ASSERT_TRUE(startPlayer(testclips::path("told/a.mp4")));
    ASSERT_TRUE(waitForShownSurface(surface_));
    // The library puts its text only into a picture that is there: after its first time report.
    ASSERT_TRUE(waitUntil([&] { return !log_->values("time").empty(); }, 10000));
    ASSERT_TRUE(tellVolume(1));
    EXPECT_TRUE(firstSecondIsClear(L"b.mp4")) << "after the move to the next file";
    ASSERT_TRUE(tellVolume(2));
    ASSERT_TRUE(player_.sendCommand(ID_STOP));
    player_.sendKey(VK_SPACE);
    EXPECT_TRUE(firstSecondIsClear(L"b.mp4")) << "after Stop and Play";
    ASSERT_TRUE(tellVolume(3));
    player_.sendKey(VK_NEXT);
    EXPECT_TRUE(firstSecondIsClear(L"a.mp4")) << "after Page Down";
}

}  // namespace
}  // namespace e2e
