#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "common/FakePlayer.h"
#include "common/MessagePump.h"
#include "common/TempFolder.h"
#include "common/Told.h"
#include "playback/PlayLogic.h"

namespace {

class Controller : public testing::Test {
protected:
    void SetUp() override { makeController(); }
    void makeController(std::set<int> types = {PlayerVlc}) {
        controller =
            std::make_unique<PlayLogic>(fakeFactory(log, std::move(types)), &view, [this] { return now; });
    }

    // A new controller, log and folder, for one case of a table.
    void restart() {
        controller.reset();
        log = std::make_shared<FakePlayerLog>();
        folder = std::make_unique<TempFolder>();
        makeController();
    }

    // Opens names[current] of a fresh folder holding names, plays it and builds the list the way the
    // main window does; forgets the calls made so far.
    std::vector<std::wstring> openInFolder(const std::vector<std::wstring>& names, int current) {
        std::vector<std::wstring> paths;
        for (const std::wstring& name : names) {
            paths.push_back(folder->addFile(name));
        }
        EXPECT_TRUE(controller->open(paths[current]));
        controller->play();
        EXPECT_EQ(controller->playlist().build(paths[current]), static_cast<int>(names.size()));
        log->forget();
        view.chosenFiles.clear();
        return paths;
    }

    // Opens and plays film.mkv with a fresh controller whose store has that place for it (-1: none).
    std::wstring playWithPlace(MemoryResumeStore& store, std::int64_t place) {
        restart();
        controller->setResumeStore(&store);
        const std::wstring film = folder->addFile(L"film.mkv");
        store.places[film] = place;
        view.told.clear();
        EXPECT_TRUE(controller->open(film));
        controller->play();
        return film;
    }
    // Runs the steps: each a character of `steps` that `act` maps to an action.
    static void run(const char* steps, const std::map<char, std::function<void()>>& act) {
        for (const char* step = steps; *step != '\0'; ++step) {
            act.at (*step)();
        }
    }

    std::vector<std::wstring> listPaths() const {
        std::vector<std::wstring> paths;
        for (const PlayListEntry& entry : controller->playlist().entries()) {
            paths.push_back(entry.path);
        }
        return paths;
    }

    std::shared_ptr<FakePlayerLog> log = std::make_shared<FakePlayerLog>();
    std::unique_ptr<TempFolder> folder = std::make_unique<TempFolder>();
    RecordingView view;
    std::uint32_t now = 1000;  // the controller's clock, in milliseconds
    std::unique_ptr<PlayLogic> controller;
};

const std::vector<std::wstring> kAbc = {L"a.mpg", L"b.mpg", L"c.mpg"};

const std::vector<std::wstring> kAtoE = {L"a.mpg", L"b.mpg", L"c.mpg", L"d.mpg", L"e.mpg"};

}  // namespace

TEST(PlayerType, ByExtension) {
    struct Case {
        const wchar_t* path;
        int type;
    };
    const Case cases[] = {
        {L"C:\\v\\movie.swf", PlayerFlash},
        {L"C:\\v\\movie.SWF", PlayerFlash},
        {L"C:\\v\\movie.Fla", PlayerFlash},
        {L"C:\\v\\a.mpg", PlayerVlc},
        {L"C:\\v\\noextension", PlayerVlc},
        {L"C:\\v\\trailing.", PlayerVlc},
        {L"C:\\v\\a.swf2", PlayerVlc},
        {L"C:\\v.swf\\file", PlayerVlc},
        {L"", PlayerVlc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(PlayLogic::playerTypeForPath(c.path), c.type);
    }
}

TEST_F(Controller, FlashFileFailsToOpenAndKeepsTheLastFile) {
    const std::wstring mpg = folder->addFile(L"a.mpg");
    ASSERT_TRUE(controller->open(mpg));

    EXPECT_FALSE(controller->open(folder->path() + L"movie.SWF"));
    EXPECT_EQ(controller->player(), nullptr);
    EXPECT_EQ(controller->currentPath(), mpg);
    EXPECT_EQ(controller->displayName(), L"a.mpg");
    EXPECT_EQ(controller->playerKind(), PlayerVlc);
    EXPECT_EQ(log->createdTypes, (std::vector<int>{PlayerVlc, PlayerFlash}));
    // Play with no player reopens the last file that opened.
    controller->play();
    ASSERT_NE(controller->player(), nullptr);
    EXPECT_EQ(log->opened.back(), mpg);
    EXPECT_EQ(log->state, StatePlaying);
}

TEST_F(Controller, SecondFileOfSameTypeReusesThePlayer) {
    ASSERT_TRUE(controller->open(folder->addFile(L"a.mpg")));
    MediaPlayer* first = controller->player();
    ASSERT_TRUE(controller->open(folder->addFile(L"noextension")));

    EXPECT_EQ(controller->player(), first);
    EXPECT_EQ(log->createdTypes.size(), 1u);
    EXPECT_EQ(log->countOf("init"), 1);
    EXPECT_EQ(log->countOf("setHwnd"), 1);
    EXPECT_EQ(controller->displayName(), L"noextension");
}

TEST_F(Controller, FailedInitLeavesNoPlayer) {
    log->initResult = false;

    EXPECT_FALSE(controller->open(folder->addFile(L"a.mpg")));
    EXPECT_EQ(controller->player(), nullptr);
    EXPECT_EQ(log->releases, 1);
    EXPECT_EQ(log->deletions, 1);
    EXPECT_TRUE(controller->currentPath().empty());
    EXPECT_EQ(controller->playerKind(), PlayerNone);
}

TEST_F(Controller, UnloadableFileKeepsThePreviousFile) {
    const std::wstring good = folder->addFile(L"a.mpg");
    const std::wstring bad = folder->addFile(L"b.mpg");
    log->unloadable.insert(bad);
    ASSERT_TRUE(controller->open(good));

    EXPECT_FALSE(controller->open(bad));
    EXPECT_EQ(controller->currentPath(), good);
    EXPECT_EQ(view.chosenFiles, std::vector<std::wstring>{good}) << "a file that failed was told as opened";
}

TEST_F(Controller, PlayWithNothingOpenedDoesNothingButStop) {
    controller->play();
    EXPECT_TRUE(log->createdTypes.empty());
    EXPECT_EQ(controller->player(), nullptr);
    EXPECT_FALSE(controller->isPlaying());
}

TEST_F(Controller, PlayAndPauseOnlyActWhenTheyChangeSomething) {
    openInFolder({L"a.mpg"}, 0);

    controller->play();  // already playing
    EXPECT_EQ(log->countOf("play"), 0);

    controller->pause();
    EXPECT_EQ(log->countOf("pause"), 1);
    EXPECT_EQ(log->state, StatePaused);

    controller->pause();  // paused: pause never resumes
    EXPECT_EQ(log->countOf("pause"), 1);
    EXPECT_EQ(log->countOf("play"), 0);

    controller->play();
    EXPECT_EQ(log->countOf("play"), 1);
    EXPECT_EQ(log->countOf("hasVideo"), 1);

    controller->stop();
    controller->pause();  // stopped
    EXPECT_EQ(log->countOf("pause"), 1);
}

TEST_F(Controller, PauseAndStopGiveUpWaitingOnAPlayerThatKeepsPlaying) {
    openInFolder({L"a.mpg"}, 0);
    log->stuckPlaying = true;

    for (int op = 0; op < 2; ++op) {
        SCOPED_TRACE(op == 0 ? "pause" : "stop");
        const auto start = std::chrono::steady_clock::now();
        op == 0 ? controller->pause() : controller->stop();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_LT(ms, 6000);
        EXPECT_GE(ms, 1000);  // it did wait for the player before giving up
    }
}

TEST_F(Controller, SkipWrapsAroundBothWays) {
    struct Case {
        int current;
        int direction;
        int expected;
    };
    const Case cases[] = {{0, -1, 2}, {2, +1, 0}, {1, +1, 2}, {1, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.current << " by " << c.direction);
        restart();
        const auto paths = openInFolder(kAbc, c.current);

        controller->skip(c.direction);
        EXPECT_EQ(controller->playlist().currentIndex(), c.expected);
        EXPECT_EQ(controller->currentPath(), paths[c.expected]);
        EXPECT_EQ(log->opened.back(), paths[c.expected]);
        EXPECT_EQ(log->state, StatePlaying);
        EXPECT_EQ(controller->playlist().count(), 3);
    }
}

TEST_F(Controller, SkipRemovesEntriesThatFailToLoad) {
    struct Case {
        const char* what;
        std::vector<std::wstring> names;
        int current;
        int direction;
        std::set<int> failing;       // indices into names
        std::vector<int> remaining;  // indices into names
        int loaded;                  // index into names, -1 for nothing
    };
    const Case cases[] = {
        {"next skips b", kAbc, 0, +1, {1}, {0, 2}, 2},
        {"previous skips b", kAbc, 2, -1, {1}, {0, 2}, 0},
        {"next, all others fail", kAbc, 0, +1, {1, 2}, {0}, 0},
        {"previous, all others fail", kAbc, 0, -1, {1, 2}, {0}, 0},
        {"previous over three broken", kAtoE, 4, -1, {1, 2, 3}, {0, 4}, 0},
        {"next over one broken", kAtoE, 2, +1, {3}, {0, 1, 2, 4}, 4},
        {"next wraps over broken", kAtoE, 3, +1, {4, 0}, {1, 2, 3}, 1},
        {"everything fails", kAbc, 1, +1, {0, 1, 2}, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        const auto paths = openInFolder(c.names, c.current);
        for (int i : c.failing) {
            log->unloadable.insert(paths[i]);
        }

        controller->skip(c.direction);
        std::vector<std::wstring> expected;
        for (int i : c.remaining) {
            expected.push_back(paths[i]);
        }
        EXPECT_EQ(listPaths(), expected);
        // Only the file that opened is told of, not those tried before it.
        EXPECT_EQ(view.chosenFiles,
                  c.loaded >= 0 ? std::vector<std::wstring>{paths[c.loaded]} : std::vector<std::wstring>{});
        if (c.loaded >= 0) {
            EXPECT_EQ(controller->currentPath(), paths[c.loaded]);
            EXPECT_EQ(controller->playlist().pathAt(controller->playlist().currentIndex()), paths[c.loaded]);
            EXPECT_EQ(log->state, StatePlaying);
        } else {
            EXPECT_FALSE(controller->isPlaying());
            EXPECT_EQ(controller->playlist().count(), 0);
        }
    }
}

TEST_F(Controller, SkipDoesNothingWithoutSomewhereToGo) {
    // Playing at time 0: the file hasn't visibly started, so a skip is ignored.
    auto paths = openInFolder(kAbc, 0);
    log->time = 0;
    controller->skip(+1);
    EXPECT_EQ(log->countOf("stop"), 0);
    EXPECT_EQ(controller->currentPath(), paths[0]);

    // One entry only.
    controller->playlist().removeAt(2);
    controller->playlist().removeAt(1);
    log->time = 1000;
    controller->skip(+1);
    EXPECT_EQ(log->countOf("stop"), 0);

    // Entries, but none current.
    controller->playlist().build(paths[0] + L"x");
    ASSERT_EQ(controller->playlist().currentIndex(), -1);
    controller->skip(-1);
    EXPECT_EQ(log->countOf("stop"), 0);
    EXPECT_EQ(controller->currentPath(), paths[0]);
}

// A file that plays at time 0 is waited for 2 s (8 ticks) before a skip goes ahead: one that never
// starts must not hold Next and Previous up.
TEST_F(Controller, SkipWaitsTwoSecondsForAFileToStart) {
    const auto paths = openInFolder(kAbc, 0);
    log->time = 0;
    for (int tick = 0; tick < 7; ++tick) {
        controller->timerProc();
    }
    controller->skip(+1);
    EXPECT_EQ(controller->currentPath(), paths[0]);
    controller->timerProc();
    controller->skip(-1);
    EXPECT_EQ(controller->currentPath(), paths[2]);
    // The file just played is waited for again.
    controller->skip(+1);
    EXPECT_EQ(controller->currentPath(), paths[2]);
}

TEST_F(Controller, EndOfFileAdvancesWithoutWrapping) {
    struct Case {
        int current;
        int next;          // -1: playback stays stopped
        bool neverStarts;  // playing at time 0, 31 ticks (8 s) on end, rather than the library's end
    };
    const Case cases[] = {{0, 1, false}, {1, 2, false}, {2, -1, false}, {0, 1, true}, {2, -1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << (c.neverStarts ? ", never starts" : ""));
        restart();
        const auto paths = openInFolder(kAbc, c.current);

        if (c.neverStarts) {
            log->time = 0;
            for (int tick = 0; tick < 30; ++tick) {
                controller->timerProc();
            }
            ASSERT_EQ(log->countOf("stop"), 0) << "given up before 8 s";
        } else {
            log->state = StateEnded;
        }
        controller->timerProc();
        EXPECT_GE(log->countOf("stop"), 1);
        EXPECT_TRUE(view.chosenFiles.empty()) << "the move to the next file is no choice of the user's";
        if (c.next >= 0) {
            EXPECT_EQ(log->opened, (std::vector<std::wstring>{paths[c.next]}));
            EXPECT_EQ(controller->playlist().currentIndex(), c.next);
            EXPECT_EQ(log->state, StatePlaying);
        } else {
            EXPECT_TRUE(log->opened.empty());
            EXPECT_EQ(log->state, StateStopped);
            EXPECT_EQ(controller->playlist().currentIndex(), 2);
        }
    }
}

TEST_F(Controller, TickLeavesOtherStatesAlone) {
    controller->timerProc();  // no player
    openInFolder(kAbc, 0);
    for (int state : {StateNothing, StatePaused, StateStopped, StateError}) {
        SCOPED_TRACE(state);
        log->state = state;
        log->mute = true;  // differs from the controller: only a playing tick would put it right
        controller->timerProc();
        EXPECT_EQ(log->countOf("stop"), 0);
        EXPECT_EQ(log->toggles, 0);
        EXPECT_TRUE(log->opened.empty());
    }
    log->state = StatePlaying;
    controller->timerProc();
    EXPECT_EQ(log->toggles, 1);
    EXPECT_FALSE(log->mute);
}

TEST_F(Controller, SeekStepsAndClamps) {
    struct Case {
        const char* what;
        int state;
        std::int64_t time;
        std::int64_t length;
        int direction;
        bool result;
        std::int64_t target;
    };
    const Case cases[] = {
        {"back at 3 s", StatePlaying, 3000, 60000, -1, true, 0},
        {"back at 5 s", StatePlaying, 5000, 60000, -1, true, 0},
        {"back at 8 s", StatePlaying, 8000, 60000, -1, true, 3000},
        {"forward 2 s before end", StatePlaying, 58000, 60000, +1, true, 60000},
        {"forward", StatePlaying, 10000, 60000, +1, true, 15000},
        {"forward while paused", StatePaused, 10000, 60000, +1, true, 15000},
        {"forward, length 0", StatePlaying, 10000, 0, +1, true, 15000},
        {"forward, length -1", StatePlaying, 10000, -1, +1, true, 15000},
        {"at time 0", StatePlaying, 0, 60000, +1, false, -1},
        {"stopped", StateStopped, 10000, 60000, +1, false, -1},
        {"ended", StateEnded, 10000, 60000, -1, false, -1},
    };
    EXPECT_FALSE(controller->seek(+1));  // no player
    openInFolder({L"a.mpg"}, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log->forget();
        log->state = c.state;
        log->time = c.time;
        log->length = c.length;
        view.positions.clear();
        now += watching::kSeekWaitMs;  // long after the seek of the case before
        EXPECT_EQ(controller->seek(c.direction), c.result);
        if (c.result) {
            EXPECT_EQ(log->seeks, (std::vector<std::int64_t>{c.target}));
            // The time display shows the target at once: paused, no time report would.
            EXPECT_EQ(view.positions, (std::vector<std::int64_t>{c.target}));
        } else {
            EXPECT_TRUE(log->seeks.empty());
            EXPECT_TRUE(view.positions.empty());
        }
    }
}

TEST_F(Controller, VolumeCommandsClampAndUnmute) {
    struct Case {
        const char* what;
        int startVolume;
        bool startMuted;
        bool change;  // changeVolume(argument) rather than setVolume(argument)
        int argument;
        int volume;
    };
    const Case cases[] = {
        {"down at 5", 5, false, true, -1, 0},         {"up at 95", 95, false, true, +1, 100},
        {"up at 100", 100, false, true, +1, 100},     {"down at 50", 50, false, true, -1, 40},
        {"up while muted", 70, true, true, +1, 10},   {"down while muted", 70, true, true, -1, 0},
        {"set -20", 50, false, false, -20, 0},        {"set 250", 50, false, false, 250, 100},
        {"set while muted", 50, true, false, 30, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->setVolume(c.startVolume);
        if (c.startMuted) {
            controller->toggleMute();
        }
        ASSERT_EQ(controller->muted(), c.startMuted);
        c.change ? controller->changeVolume(c.argument) : controller->setVolume(c.argument);
        EXPECT_EQ(controller->volume(), c.volume);
        EXPECT_FALSE(controller->muted());
    }
}

TEST_F(Controller, ApplyVolumeCallsThePlayerOnlyWhereItDiffers) {
    struct Case {
        const char* what;
        PlayerType reportedType;
        bool playerMute;
        int playerVolume;
        int volume;
        bool muted;
        int toggles;
        std::vector<int> volumesSet;
    };
    const Case cases[] = {
        {"in line", PlayerVlc, false, 100, 100, false, 0, {}},
        {"volume differs", PlayerVlc, false, 100, 40, false, 0, {40}},
        {"mute differs", PlayerVlc, false, 100, 100, true, 1, {}},
        {"muted, volume differs", PlayerVlc, false, 10, 40, true, 1, {}},
        {"unmute", PlayerVlc, true, 40, 40, false, 1, {}},
        {"other type, muted", PlayerFlash, false, 40, 40, true, 0, {0}},
        {"other type, muted at 0", PlayerFlash, false, 0, 40, true, 0, {}},
        {"other type, unmuted", PlayerFlash, false, 0, 40, false, 0, {40}},
        {"other type, in line", PlayerFlash, false, 40, 40, false, 0, {}},
    };
    openInFolder({L"a.mpg"}, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log->state = StateStopped;  // so that the controller's own volume calls leave the player alone
        controller->setVolume(c.volume);
        if (c.muted) {
            controller->toggleMute();
        }
        log->reportedType = c.reportedType;
        log->mute = c.playerMute;
        log->volume = c.playerVolume;
        log->forget();

        controller->applyVolume();
        EXPECT_EQ(log->toggles, c.toggles);
        EXPECT_EQ(log->volumesSet, c.volumesSet);
    }
}

TEST_F(Controller, VolumeAndMuteReachThePlayerOnlyWhilePlayingOrPaused) {
    openInFolder({L"a.mpg"}, 0);

    log->state = StateStopped;
    controller->toggleMute();
    controller->setVolume(30);
    EXPECT_EQ(log->toggles, 0);
    EXPECT_TRUE(log->volumesSet.empty());

    // The player follows at the next play.
    controller->toggleMute();
    controller->play();
    EXPECT_EQ(log->toggles, 1);
    EXPECT_TRUE(log->mute);
    EXPECT_TRUE(log->volumesSet.empty());

    controller->changeVolume(+1);  // unmutes at 10
    EXPECT_FALSE(log->mute);
    EXPECT_EQ(log->volume, 10);

    log->state = StatePaused;
    controller->setVolume(55);
    EXPECT_EQ(log->volume, 55);
}

TEST_F(Controller, EventsRunOnTheUserInterfaceThreadWhenPumped) {
    openInFolder({L"a.mpg"}, 0);
    log->mute = true;  // a Playing event's volume upkeep puts this right

    std::thread library([] { PlayLogic::handleProc(EventPlaying); });
    library.join();
    // Posted, not run: nothing has touched the player yet.
    EXPECT_EQ(log->toggles, 0);

    EXPECT_TRUE(pumpUntil([&] { return log->toggles > 0; }, 2000));
    EXPECT_FALSE(log->mute);
    EXPECT_EQ(log->callingThreads, (std::set<DWORD>{GetCurrentThreadId()}));

    // Stopped may come twice; the second changes nothing.
    for (int i = 0; i < 2; ++i) {
        PlayLogic::handleProc(EventStopped);
    }
    pumpPending();
    EXPECT_EQ(log->toggles, 1);
}

TEST_F(Controller, OnlyEventsOfAPlayingPlayerShowTheSurface) {
    log->video = false;  // the library knows of no video track yet when play returns
    ASSERT_TRUE(controller->open(folder->addFile(L"a.mpg")));
    controller->play();
    EXPECT_FALSE(view.surfaceShown);

    // The track is found while playing: the next event shows the surface.
    log->video = true;
    PlayLogic::handleProc(EventTimeChanged);
    EXPECT_TRUE(pumpUntil([&] { return view.surfaceShown; }, 5000));

    // Events raised just before the user stops arrive after the stop, which hid the surface so that
    // the logo shows again: they must leave it hidden.
    PlayLogic::handleProc(EventTimeChanged);
    PlayLogic::handleProc(EventPlaying);
    controller->stop();
    EXPECT_FALSE(view.surfaceShown);
    pumpPending();
    EXPECT_FALSE(view.surfaceShown);
}

TEST_F(Controller, EventsQueuedWhenTheControllerGoesAreDropped) {
    openInFolder({L"a.mpg"}, 0);
    PlayLogic::handleProc(EventPlaying);
    controller.reset();
    EXPECT_EQ(log->deletions, 1);

    const int callsBefore = static_cast<int>(log->calls.size());
    PlayLogic::handleProc(EventPlaying);  // no controller: nothing listens
    pumpPending();
    EXPECT_EQ(static_cast<int>(log->calls.size()), callsBefore);

    // Nor does the event queued for the old controller reach the next one and its player.
    makeController();
    openInFolder({L"a.mpg"}, 0);
    const int callsOfTheNext = static_cast<int>(log->calls.size());
    pumpPending();
    EXPECT_EQ(static_cast<int>(log->calls.size()), callsOfTheNext);
    PlayLogic::handleProc(EventPlaying);
    pumpPending();
    EXPECT_GT(static_cast<int>(log->calls.size()), callsOfTheNext) << "an event of its own does";
}

// The library keeps firing events while the user stops, skips and opens. Every player call must come from
// the user-interface thread, and the commands must finish: a watchdog ends the process if they hang.
TEST_F(Controller, CommandsFinishWhileEventsArrive) {
    const auto paths = openInFolder(kAbc, 0);

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!finished.wait_for(lock, std::chrono::seconds(60), [&] { return done; })) {
            std::fprintf(stderr, "CommandsFinishWhileEventsArrive: the user-interface thread hangs\n");
            std::fflush(stderr);
            ExitProcess(3);
        }
    });

    std::atomic<bool> firing{true};
    std::atomic<int> fired{0};
    std::thread library([&] {
        const int types[] = {EventPlaying, EventTimeChanged, EventStopped, EventPaused, EventEndReached};
        while (firing) {
            for (int type : types) {
                PlayLogic::handleProc(type);
                ++fired;
            }
            Sleep(1);
        }
    });

    for (int round = 0; round < 200; ++round) {
        controller->stop();
        pumpPending();
        controller->skip(round % 2 == 0 ? +1 : -1);
        pumpPending();
        ASSERT_TRUE(controller->open(paths[round % 3]));
        controller->playlist().build(paths[round % 3]);
        controller->play();
        log->mute = !log->mute;
        controller->timerProc();
        pumpPending();
    }
    firing = false;
    library.join();
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();

    EXPECT_GT(fired.load(), 0);
    EXPECT_EQ(log->callingThreads, (std::set<DWORD>{GetCurrentThreadId()}));
    EXPECT_EQ(controller->playlist().count(), 3);
    EXPECT_GE(controller->playlist().currentIndex(), 0);
}

// A player whose time lags its seeks, as libvlc's does: each step starts from the step before while that
// one is on its way, so quick presses all count; the library's arrival, a while without it, a drag of the
// time slider, stop and a new file each end that.
TEST_F(Controller, SeeksKeepUpWithQuickPresses) {
    struct Case {
        const char* what;
        std::int64_t time;
        const char* steps;  // R, L: a press; F, B: a press with Ctrl (a minute); A: the library arrives
                            // 300 ms on; W: a while passes; D: a drag to 40 s; S: stop and play again;
                            // O: another file opens; C: the next chapter
        std::vector<std::int64_t> seeks;
    };
    const Case cases[] = {
        {"ten quick presses move 50 s",
         20000,
         "RRRRRRRRRR",
         {25000, 30000, 35000, 40000, 45000, 50000, 55000, 60000, 65000, 70000}},
        {"Right then Left comes back", 20000, "RL", {25000, 20000}},
        {"kept within the length", 110000, "RRR", {115000, 120000, 120000}},
        {"kept within the start", 7000, "LLL", {2000, 0, 0}},
        {"after the library arrives, from its time", 20000, "RAR", {25000, 30300}},
        {"a seek never reported is not waited for", 20000, "RWR", {25000, 25000}},
        {"from where the slider was dragged", 20000, "RDR", {25000, 40000, 45000}},
        {"stop forgets it", 20000, "RSR", {25000, 25000}},
        {"a new file forgets it", 20000, "ROR", {25000, 25000}},
        {"from the chapter it went to", 20000, "CR", {45000}},
        {"held Ctrl+Right and Ctrl+Left move a minute a press", 20000, "FFB", {80000, 120000, 60000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        const auto paths = openInFolder(kAbc, 0);
        log->seeksLag = true;
        log->chapters = kFilmChapters;
        log->time = c.time;
        log->length = 120000;
        for (const char* step = c.steps; *step != '\0'; ++step) {
            now += *step == 'W' ? watching::kSeekWaitMs : 33;  // a held key repeats 30 times a second
            if (*step == 'R' || *step == 'L') {
                EXPECT_TRUE(controller->seek(*step == 'R' ? +1 : -1));
            } else if (*step == 'F' || *step == 'B') {
                EXPECT_TRUE(controller->seek(*step == 'F' ? +1 : -1, watching::kMinuteStepMs));
            } else if (*step == 'A') {
                log->time = log->seeks.back() + 300;
            } else if (*step == 'D') {
                controller->seekTo(40000);
            } else if (*step == 'C') {
                controller->stepChapter(+1);
            } else if (*step == 'S') {
                controller->stop();
                controller->play();
            } else if (*step == 'O') {
                ASSERT_TRUE(controller->open(paths[1]));
                controller->play();
            }
        }
        EXPECT_EQ(log->seeks, c.seeks);
        // The time display shows where the last one goes, from the press on.
        EXPECT_EQ(view.positions.back(), c.seeks.back());
        EXPECT_EQ(controller->timeShown(), c.seeks.back());
    }
}

// Every change the viewer makes is told to the view, with what it needs to say it. Nothing changes with
// nothing playing, or where the player lacks the feature.
TEST_F(Controller, EveryChangeIsToldToTheView) {
    using Kind = Change::Kind;
    using Act = void (*)(PlayLogic & controller);
    // The changes the rows tell (G, J, K: the delays those keys make; a stop sets them back to 0).
    const Change french = Told(Kind::AudioTrack, L"Track 2 - [French]"), off = Told(Kind::Subtitles),
                 german = Told(Kind::Subtitles, L"Signs & songs - [German]"),
                 file = Told(Kind::SubtitleFile, L"50%d off.srt"), volume = Told(Kind::Volume).percent(90),
                 muted = Told(Kind::Mute).muted(), seek = Told(Kind::Position).time(28000, 60000),
                 storm = Told(Kind::Chapter, L"The Storm").at(2), second = Told(Kind::Chapter).at(1),
                 opening = Told(Kind::Chapter, L"Opening"), G = Told(Kind::SubtitleDelay).delay(-100),
                 J = Told(Kind::AudioDelay).delay(-100), K = Told(Kind::AudioDelay).delay(100);
    struct Case {
        const char* what;
        unsigned lacking;  // the features the player lacks
        Act act;
        std::vector<Change> told;
    };
    const Case cases[] = {
        {"A", 0, [](PlayLogic& c) { c.nextAudioTrack(); }, {french}},
        // The menu's items stand for tracks by their own ids.
        {"menu audio", 0, [](PlayLogic& c) { c.chooseAudioTrack(2); }, {french}},
        {"menu audio, no such track", 0, [](PlayLogic& c) { c.chooseAudioTrack(0); }, {}},
        {"menu subtitles", 0, [](PlayLogic& c) { c.chooseSubtitles(4); }, {german}},
        {"menu subtitles, no such track", 0, [](PlayLogic& c) { c.chooseSubtitles(1); }, {}},
        {"S, S: then off", 0, [](PlayLogic& c) { c.nextSubtitles(), c.nextSubtitles(); }, {german, off}},
        {"file", 0, [](PlayLogic& c) { c.loadSubtitleFile(L"C:\\f\\50%d off.srt"); }, {file}},
        {"faster", 0, [](PlayLogic& c) { c.stepSpeed(+1); }, {Told(Kind::Speed).speed(1.25f)}},
        {"volume, mute", 0, [](PlayLogic& c) { c.changeVolume(-1), c.toggleMute(); }, {volume, muted}},
        {"volume slider", 0, [](PlayLogic& c) { c.setVolume(50); }, {}},
        {"seek", 0, [](PlayLogic& c) { c.seek(+1); }, {seek}},
        {"go to a time", 0, [](PlayLogic& c) { c.jumpTo(28000); }, {seek}},
        {"stopped: A, S", 0, [](PlayLogic& c) { c.stop(), c.nextAudioTrack(), c.nextSubtitles(); }, {}},
        {"stopped: ], time", 0, [](PlayLogic& c) { c.stop(), c.stepSpeed(1), c.jumpTo(30000); }, {}},
        {"stopped: chapter", 0, [](PlayLogic& c) { c.stop(), c.stepChapter(1); }, {}},
        {"stopped: G", 0, [](PlayLogic& c) { c.stop(), c.stepSubtitleDelay(1); }, {}},
        {"stopped: K", 0, [](PlayLogic& c) { c.stop(), c.stepAudioDelay(1); }, {}},
        {"no audio tracks", FeatureAudioTracks, [](PlayLogic& c) { c.nextAudioTrack(); }, {}},
        {"no subtitle tracks", FeatureSubtitleTracks, [](PlayLogic& c) { c.nextSubtitles(); }, {}},
        {"no subtitle files", FeatureSubtitleFiles, [](PlayLogic& c) { c.loadSubtitleFile(L"C:\\x"); }, {}},
        {"no rate", FeatureRate, [](PlayLogic& c) { c.stepSpeed(+1); }, {}},
        {"Ctrl+PgDn", 0, [](PlayLogic& c) { c.stepChapter(+1); }, {storm}},
        {"Ctrl+PgUp twice", 0, [](PlayLogic& c) { c.stepChapter(-1), c.stepChapter(-1); }, {second, opening}},
        {"menu chapter, no such chapter", 0, [](PlayLogic& c) { c.chooseChapter(3); }, {}},
        {"no chapters", FeatureChapters, [](PlayLogic& c) { c.stepChapter(+1); }, {}},
        {"G, J", 0, [](PlayLogic& c) { c.stepSubtitleDelay(-1), c.stepAudioDelay(-1); }, {G, J}},
        // K, then again after a stop and play: from 0.
        {"K2", 0, [](PlayLogic& c) { c.stepAudioDelay(1), c.stop(), c.play(), c.stepAudioDelay(1); }, {K, K}},
        {"no subtitle delay", FeatureSubtitleDelay, [](PlayLogic& c) { c.stepSubtitleDelay(+1); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        log->audioTracks = kFilmAudio;
        log->audioTrack = 1;
        log->subtitleTracks = kFilmSubtitles;
        log->subtitleTrack = 3;
        log->chapters = kFilmChapters;
        log->features = kAllFeatures & ~c.lacking;
        log->time = 23000;
        openInFolder({L"a.mpg"}, 0);
        view.told.clear();

        c.act(*controller);
        EXPECT_EQ(view.told, c.told);
        if (c.told.empty()) {
            EXPECT_TRUE(log->audioChoices.empty() && log->subtitleChoices.empty() && log->ratesSet.empty() &&
                        log->subtitleFiles.empty() && log->countOf("setChapter") == 0 &&
                        log->subtitleDelay == 0 && log->audioDelay == 0);
        }
    }
}

// A text over the picture is taken off when its time is up, on stop and when another file opens: the
// library keeps it on the player and would show it again over the next picture. The library's giving up
// on a file is told once.
TEST_F(Controller, TheTextOverThePictureGoesWithItsTimeAndItsFile) {
    struct Case {
        const char* what;
        bool video;
        void (*after)(PlayLogic& controller, std::uint32_t& now);
        int takenOff;
    };
    const Case cases[] = {
        {"time not up", true, [](PlayLogic& c, std::uint32_t& now) { now += 1999, c.timerProc(); }, 0},
        {"time up", true, [](PlayLogic& c, std::uint32_t& now) { now += 2000, c.timerProc(), c.timerProc(); },
         1},
        {"stop", true, [](PlayLogic& c, std::uint32_t&) { c.stop(); }, 1},
        {"next", true, [](PlayLogic& c, std::uint32_t&) { c.skip(+1); }, 1},
        {"open", true, [](PlayLogic& c, std::uint32_t&) { c.open(c.playlist().pathAt(1)); }, 1},
        {"a sound file: nothing to take off", false, [](PlayLogic& c, std::uint32_t&) { c.stop(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        log->video = c.video;
        log->time = 10000;
        openInFolder(kAbc, 0);
        EXPECT_EQ(controller->showOnPicture(L"Volume 90 %", 2000), c.video);
        c.after(*controller, now);
        EXPECT_EQ(log->textsTakenOff, c.takenOff);
    }

    restart();
    openInFolder(kAbc, 0);
    view.told.clear();
    log->state = StateError;
    controller->timerProc();
    controller->timerProc();
    EXPECT_EQ(view.told, std::vector<Change>{Told(Change::Kind::CouldNotPlay, L"a.mpg")});
    EXPECT_EQ(log->state, StateError) << "the library's state is left alone";
}

// The speed carries on to the next file of the folder and to a new player (the library's starts at
// normal), and the time display shows it; at 2x a further ] only says so.
TEST_F(Controller, TheSpeedCarriesOnToTheNextFile) {
    openInFolder(kAbc, 0);
    for (int i = 0; i < 4; ++i) {
        controller->stepSpeed(+1);
    }
    EXPECT_EQ(log->ratesSet, (std::vector<float>{1.25f, 1.5f, 2.0f}));
    EXPECT_EQ(view.told.size(), 4u);
    controller->chooseSpeed(1.5f);
    EXPECT_EQ(view.calls.back(), "refreshTime");

    log->rate = 1.0f;  // as a new library player starts
    controller->skip(+1);
    EXPECT_EQ(log->rate, 1.5f);
    ASSERT_FALSE(controller->open(folder->path() + L"movie.swf"));  // no player for it: the one there goes
    ASSERT_EQ(controller->player(), nullptr);
    log->rate = 1.0f;
    ASSERT_TRUE(controller->open(folder->path() + L"c.mpg"));
    controller->play();
    EXPECT_EQ(log->rate, 1.5f);
    EXPECT_EQ(controller->speed(), 1.5f);
}

// Leaving a file remembers its place, or forgets it at its end (ResumeRules decides which): a stop (S, a
// second one finds it left already), another file (O), the session's end (X), paused (P) then stopped;
// a seek still on its way (J, to 5:00) counts where it goes; E: the file ends.
TEST_F(Controller, LeavingAFileRemembersItsPlace) {
    const std::pair<const char*, std::int64_t> cases[] = {{"SS", 180000}, {"O", 180000},  {"X", 180000},
                                                          {"PS", 180000}, {"JS", 300000}, {"E", -1}};
    for (const auto& [steps, after] : cases) {
        SCOPED_TRACE(steps);
        MemoryResumeStore store;
        const std::wstring film = playWithPlace(store, 224000);
        log->time = 180000;
        log->length = 600000;
        log->seeksLag = true;
        run(steps, {{'S', [&] { controller->stop(); }},
                    {'O', [&] { controller->open(folder->addFile(L"other.mkv")); }},
                    {'X', [&] { controller->rememberPlace(); }},
                    {'P', [&] { controller->pause(); }},
                    {'J', [&] { controller->jumpTo(300000); }},
                    {'E', [&] { log->state = StateEnded, controller->timerProc(); }}});
        EXPECT_EQ(store.recall(film), after);
        EXPECT_EQ(store.writes, 1) << "left once";
    }
}

// A file with a remembered place still starts from its beginning; once its length shows the place lies
// within it (L: it becomes known), a tick (T) tells the offer once, and R jumps there. Playing on past the
// place (P) forgets the offer; a place past the end is never offered.
TEST_F(Controller, ARememberedPlaceIsOfferedNotTaken) {
    struct Case {
        std::int64_t stored;  // -1: none
        const char* steps;
        int told;  // how often the offer was told
        std::vector<std::int64_t> seeks;
    };
    const Case cases[] = {
        {224000, "LTTRR", 1, {224000}}, {-1, "LTR", 0, {}},     {700000, "LTR", 0, {}},
        {224000, "LTPTR", 1, {}},       {224000, "TLT", 1, {}}, {224000, "R", 0, {224000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        MemoryResumeStore store;
        playWithPlace(store, c.stored);
        log->length = 0;
        run(c.steps, {{'T', [&] { controller->timerProc(); }},
                      {'R', [&] { controller->resume(); }},
                      {'P', [&] { log->time = c.stored + 1000; }},
                      {'L', [&] { log->length = 600000; }}});
        const Change offer = Told(Change::Kind::ResumeOffer).time(c.stored);
        EXPECT_EQ(std::count(view.told.begin(), view.told.end(), offer), c.told);
        EXPECT_EQ(log->seeks, c.seeks) << "the file starts from its beginning";
        EXPECT_EQ(store.writes, 0) << "opening and offering change nothing stored";
    }
}
