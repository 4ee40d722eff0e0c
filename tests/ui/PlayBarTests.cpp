#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/BarButtons.h"
#include "common/DibCanvas.h"
#include "common/MainWindowFixture.h"
#include "common/MessagePump.h"
#include "common/ScreenReader.h"
#include "common/TempFolder.h"
#include "common/Told.h"
#include "common/WindowRects.h"
#include "resource.h"
#include "ui/BarAccess.h"
#include "ui/PlayBar.h"
#include "ui/PlayBarRules.h"
#include "ui/SkinImage.h"
#include "ui/ToldText.h"

namespace {

using playbar::AutoHideStep;

TEST(PlayBarRules, FormatTime) {
    struct Case {
        std::int64_t ms;
        PlayerType kind;
        const wchar_t* text;
    };
    const Case cases[] = {
        {3723000, PlayerVlc, L"01:02:03"}, {360000000, PlayerVlc, L"100:00:00"},
        {5000, PlayerFlash, L"5000"},      {0, PlayerVlc, L"00:00:00"},
        {-1000, PlayerVlc, L"00:00:00"},   {59999, PlayerNone, L"00:00:59"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(playbar::formatTime(c.ms, c.kind), c.text) << c.ms << " kind " << c.kind;
    }
    EXPECT_EQ(playbar::timeText(0, 0, PlayerVlc), L"00:00:00 / 00:00:00");
}

TEST(PlayBarRules, TimeLineShowsTheSpeedBesideTheTimeAndATextInItsPlace) {
    const std::wstring time = L"00:00:05 / 00:00:20";
    struct Case {
        float speed;
        const wchar_t* feedback;
        const wchar_t* line;
    };
    const Case cases[] = {
        {1.0f, L"", L"00:00:05 / 00:00:20"},
        {1.5f, L"", L"1.5\u00D7   00:00:05 / 00:00:20"},
        {0.5f, L"", L"0.5\u00D7   00:00:05 / 00:00:20"},
        {1.5f, L"Volume 80 %", L"Volume 80 %"},
        {1.0f, L"Muted", L"Muted"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(playbar::timeLine(time, c.speed, c.feedback), c.line) << c.speed;
    }
}

// What a screen reader reads of the volume and the Mute button, and how often a moving position is told.
TEST(PlayBarRules, ReaderTextsAndThePositionOnceASecond) {
    EXPECT_EQ(playbar::volumeValue(80, false), L"80 %");
    EXPECT_EQ(playbar::volumeValue(0, false), L"0 %");
    EXPECT_EQ(playbar::volumeValue(80, true), L"Muted");
    EXPECT_EQ(playbar::muteButtonName(false), L"Mute On/Off");
    EXPECT_EQ(playbar::muteButtonName(true), L"Mute On/Off (Muted)");
    struct Case {
        bool told;
        DWORD last, now;
        bool due;
    };
    const Case cases[] = {
        {false, 0, 5, true},
        {true, 1000, 1999, false},
        {true, 1000, 2000, true},
        {true, 0xFFFFFF00u, 0x2E8u, true},  // across the tick count's wrap: 1000 ms
        {true, 0xFFFFFF00u, 0x2E7u, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(playbar::positionEventDue(c.told, c.last, c.now), c.due) << c.last << " " << c.now;
    }
}

// The words of each change, where they show (over a picture the library can write on, else on the bar)
// and for how long.
TEST(ToldText, WordsPlaceAndTime) {
    using Kind = Change::Kind;
    using told::Place;
    struct Case {
        Change change;
        const wchar_t* words;
        Place without = Place::Bar;  // with no picture to write on
        int ms = 2000;
        Place withPicture = Place::Picture;
    };
    const Case cases[] = {
        {Told(Kind::Volume).percent(80), L"Volume 80 %"},
        {Told(Kind::Mute).muted(), L"Muted"},
        {Told(Kind::Mute), L"Sound on"},
        {Told(Kind::AudioTrack, L"Track 2 - [French]"), L"Audio: Track 2 - [French]"},
        {Told(Kind::Subtitles), L"Subtitles: Off"},
        {Told(Kind::SubtitleFile, L"50%d off.srt"), L"Subtitles: 50%d off.srt"},
        {Told(Kind::SubtitleFileRefused, L"x.srt"), L"Could not load the subtitle file"},
        {Told(Kind::Speed).speed(1.5f), L"Speed: 1.5\u00D7"},
        {Told(Kind::Position).time(65000, 1200000), L"00:01:05 / 00:20:00", Place::Nowhere},
        {Told(Kind::CouldNotPlay, L"broken.mp4"), L"Could not play broken.mp4", Place::Bar, 4000, Place::Bar},
        {Told(Kind::Chapter, L"The Storm").at(2), L"Chapter 3: The Storm"},
        {Told(Kind::Chapter).at(1), L"Chapter 2"},
        {Told(Kind::SubtitleDelay).delay(300), L"Subtitle delay: +300 ms"},
        {Told(Kind::AudioDelay).delay(-100), L"Audio delay: -100 ms"},
        {Told(Kind::AudioDelay), L"Audio delay: 0 ms"},
        {Told(Kind::ResumeOffer).time(65000), L"Resume from 00:01:05: press R", Place::Bar, 8000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(told::words(c.change), c.words);
        EXPECT_EQ(told::placeFor(c.change, true), c.withPicture) << c.words;
        EXPECT_EQ(told::placeFor(c.change, false), c.without) << c.words;
        EXPECT_EQ(told::showMs(c.change), c.ms) << c.words;
    }
}

TEST(PlayBarRules, KnobOffsets) {
    struct Case {
        std::int64_t position, length;
        int area, knob, offset;
    };
    const Case time[] = {
        {1800000, 3600000, 199, 12, 93},  // half way
        {5000, 0, 199, 12, 0},            // no length: left end
        {9000, 3000, 199, 12, 187},       // past the end: right end
        {100, 1000, 10, 12, 0},           // area narrower than the knob
    };
    for (const Case& c : time) {
        EXPECT_EQ(playbar::timeKnobOffset(c.position, c.length, c.area, c.knob), c.offset) << c.position;
    }
    EXPECT_EQ(playbar::volumeKnobOffset(68, 16, 100), 52);
    EXPECT_EQ(playbar::volumeKnobOffset(68, 16, 37), 19);
    EXPECT_EQ(playbar::volumeKnobOffset(68, 16, 0), 0);
}

TEST(PlayBarRules, DragFractionNeverDividesByZero) {
    EXPECT_DOUBLE_EQ(playbar::dragFraction(50, 40, 52, 12), 0.0);  // area as wide as the knob
    EXPECT_DOUBLE_EQ(playbar::dragFraction(50, 40, 45, 12), 0.0);  // narrower
    EXPECT_DOUBLE_EQ(playbar::dragFraction(-30000, 149, 348, 12), 0.0);
    EXPECT_DOUBLE_EQ(playbar::dragFraction(30000, 149, 348, 12), 1.0);
    EXPECT_EQ(playbar::timeForFraction(1.0, 60000), 60000);
}

TEST(PlayBarRules, TilePiecesSqueezeTheLastCopyAndSkipAWidthOfZero) {
    struct Case {
        int picture, width;
        std::vector<int> widths;
    };
    const Case cases[] = {{4, 10, {4, 4, 2}}, {4, 8, {4, 4}}, {0, 10, {}}, {4, 0, {}}, {10, 3, {3}}};
    for (const Case& c : cases) {
        std::vector<int> widths;
        int next = 0;
        playbar::forEachTilePiece(c.picture, c.width, [&](playbar::TilePiece piece) {
            EXPECT_EQ(piece.offset, next);
            next += piece.width;
            widths.push_back(piece.width);
        });
        EXPECT_EQ(widths, c.widths) << c.picture << " across " << c.width;
    }
}

TEST(PlayBarRules, AutoHide) {
    const POINT rest{100, 100};
    struct Case {
        DWORD last;
        DWORD now;
        POINT cursor;
        bool overBar, visible;
        AutoHideStep step;
    };
    const Case cases[] = {
        {0, 99999, rest, false, true, AutoHideStep::Nothing},                      // auto-hide off
        {1000, 6001, {104, 96}, false, true, AutoHideStep::Hide},                  // 4 px is still rest
        {1000, 6000, rest, false, true, AutoHideStep::KeepResting},                // 5000 ms exactly: not yet
        {1000, 6001, rest, false, false, AutoHideStep::KeepResting},               // hidden already
        {1000, 9000, rest, true, true, AutoHideStep::Nothing},                     // over the bar
        {1000, 9000, {105, 100}, false, false, AutoHideStep::ShowRecord},          // a 5-px move shows it
        {1000, 2000, {100, 95}, false, true, AutoHideStep::Record},                // moving while shown
        {0xFFFFF000u, 0x00000100u, rest, false, true, AutoHideStep::KeepResting},  // across the wrap
        {0xFFFFF000u, 0x00000A00u, rest, false, true, AutoHideStep::Hide},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(playbar::autoHideStep(c.last, rest, c.now, c.cursor, c.overBar, c.visible), c.step)
            << c.last << " " << c.now << " (" << c.cursor.x << "," << c.cursor.y << ")";
    }
    // At 144 DPI the threshold is 8 pixels: a move of 7 is still rest, one of 8 shows the bar.
    EXPECT_EQ(playbar::autoHideStep(1000, rest, 6001, {107, 93}, false, true, 8), AutoHideStep::Hide);
    EXPECT_EQ(playbar::autoHideStep(1000, rest, 6001, {108, 100}, false, false, 8), AutoHideStep::ShowRecord);
}

TEST(PlayBarLock, ASecondHoldOnTheSameThreadDoesNotWait) {
    BufferLock lock;
    {
        BufferLock::Hold outer(lock);
        BufferLock::Hold inner(lock);  // would hang if it waited
        EXPECT_EQ(WaitForSingleObject(lock.event(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    // Given back once, by the outer hold.
    EXPECT_EQ(WaitForSingleObject(lock.event(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(lock.event(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// The single bar in the stand-in main window, with a controller whose player the test drives.
class ControlBar : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        player = installControllerWithPlayer();
        bar = PlayBar::instance();
        appState().controlBar = bar;
        bar->setLinks(appWindowLinks());
        ASSERT_TRUE(bar->create(GetModuleHandleW(nullptr), mainWindow));
        ASSERT_TRUE(bar->initControls());
        resize(480);
    }
    void TearDown() override {
        PlayBar::destroyInstance();
        MainWindowFixture::TearDown();
    }

    void resize(int width) { MoveWindow(bar->window(), 0, 0, width, bar->height(), TRUE); }
    RECT controlRect(int id) const { return testwin::rectInParent(GetDlgItem(bar->window(), id)); }
    bool shown(int id) const {
        return (GetWindowLongPtrW(GetDlgItem(bar->window(), id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool enabled(int id) const { return IsWindowEnabled(GetDlgItem(bar->window(), id)) != FALSE; }
    static LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), y); }

    // What dc shows of the bar's column under the area, in the bar's client coordinates.
    std::vector<std::uint32_t> column(HDC dc, const RECT& area) const {
        DibCanvas canvas(area.right - area.left, bar->height(), 0);
        canvas.copyFrom(dc, area.left, 0);
        return std::vector<std::uint32_t>(canvas.bits(), canvas.bits() + canvas.width() * canvas.height());
    }

    // The button as the bar draws it, in the item state given (ODS_DISABLED: dimmed).
    std::vector<std::uint32_t> drawnButton(int id, UINT itemState = 0) {
        HWND control = GetDlgItem(bar->window(), id);
        const RECT area = controlRect(id);
        DibCanvas canvas(area.right - area.left, area.bottom - area.top, 0);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = control;
        item.hDC = canvas.dc();
        item.rcItem = RECT{0, 0, canvas.width(), canvas.height()};
        bar->drawButton(item);
        GdiFlush();
        return std::vector<std::uint32_t>(canvas.bits(), canvas.bits() + canvas.width() * canvas.height());
    }
    // The time strip and slider as the bar composed them.
    std::vector<std::uint32_t> timeColumn() const {
        return column(bar->compositeBuffer().dc(), controlRect(IDC_TIME_SLIDER));
    }

    // The last time the bar sought to; -1 before any seek.
    std::int64_t lastSeek() const { return player->seeks.empty() ? -1 : player->seeks.back(); }

    std::shared_ptr<FakePlayerLog> player;
    PlayBar* bar = nullptr;
};

TEST_F(ControlBar, LayoutWithTheShippedPictures) {
    ASSERT_EQ(bar->height(), 36);
    struct Case {
        int width, id, x, y, w, h;
        UINT dpi = 96;  // the pictures of its scale; the gaps and drops scaled
    };
    const Case cases[] = {
        {480, IDC_BTN_OPEN, 1, 2, 36, 32},
        {480, IDC_BTN_PAUSE, 38, 2, 36, 32},
        {480, IDC_BTN_NEXT, 112, 2, 36, 32},
        {480, IDC_TIME_SLIDER, 149, 16, 199, 12},
        {480, IDC_VOLUME_SLIDER, 349, 15, 68, 12},
        {480, IDC_BTN_MUTE, 418, 9, 28, 24},
        {480, IDC_BTN_LEAVE_FULLSCREEN, 447, 5, 32, 26},
        {672, IDC_TIME_SLIDER, 149, 16, 391, 12},
        {672, IDC_VOLUME_SLIDER, 541, 15, 68, 12},
        {672, IDC_BTN_FULLSCREEN, 639, 5, 32, 26},
        {840, IDC_BTN_OPEN, 1, 2, 45, 40, 120},
        {840, IDC_BTN_NEXT, 139, 2, 45, 40, 120},
        {840, IDC_TIME_SLIDER, 185, 20, 491, 15, 120},
        {840, IDC_VOLUME_SLIDER, 677, 19, 85, 15, 120},
        {840, IDC_BTN_MUTE, 763, 11, 35, 30, 120},
        {840, IDC_BTN_FULLSCREEN, 799, 6, 40, 33, 120},
        {1008, IDC_BTN_OPEN, 2, 3, 54, 48, 144},
        {1008, IDC_BTN_PAUSE, 58, 3, 54, 48, 144},
        {1008, IDC_BTN_NEXT, 170, 3, 54, 48, 144},
        {1008, IDC_TIME_SLIDER, 226, 24, 582, 18, 144},
        {1008, IDC_VOLUME_SLIDER, 810, 23, 102, 18, 144},
        {1008, IDC_BTN_MUTE, 914, 14, 42, 36, 144},
        {1008, IDC_BTN_LEAVE_FULLSCREEN, 958, 7, 48, 39, 144},
        {720, IDC_TIME_SLIDER, 226, 24, 294, 18, 144},
        {1344, IDC_BTN_OPEN, 2, 4, 72, 64, 192},
        {1344, IDC_BTN_NEXT, 224, 4, 72, 64, 192},
        {1344, IDC_TIME_SLIDER, 298, 32, 782, 24, 192},
        {1344, IDC_VOLUME_SLIDER, 1082, 30, 136, 24, 192},
        {1344, IDC_BTN_MUTE, 1220, 18, 56, 48, 192},
        {1344, IDC_BTN_FULLSCREEN, 1278, 10, 64, 52, 192},
    };
    for (const Case& c : cases) {
        bar->setDpi(c.dpi);
        resize(c.width);
        EXPECT_EQ(controlRect(c.id), testwin::xywh(c.x, c.y, c.w, c.h)) << c.id << " at " << c.width;
    }
}

// A DPI change (the window moved to another monitor, or the scale changed) gives the bar the pictures, the
// height, the time font and the tooltips' font of the new scale, and back.
TEST_F(ControlBar, HeightAndFontsFollowTheDpi) {
    const struct {
        UINT dpi;
        int height, fontHeight, tipFontHeight;
    } cases[] = {{144, 54, -17, -17}, {120, 45, -14, -14}, {192, 72, -22, -22}, {96, 36, -11, -11}};
    for (const auto& c : cases) {
        bar->setDpi(c.dpi);
        EXPECT_EQ(bar->height(), c.height) << c.dpi;
        LOGFONTW font{};
        ASSERT_EQ(GetObjectW(bar->timeFont(), sizeof(font), &font), static_cast<int>(sizeof(font)));
        EXPECT_EQ(font.lfHeight, c.fontHeight) << c.dpi;
        const auto tipFont = reinterpret_cast<HFONT>(SendMessageW(bar->tooltip(), WM_GETFONT, 0, 0));
        ASSERT_EQ(GetObjectW(tipFont, sizeof(font), &font), static_cast<int>(sizeof(font))) << c.dpi;
        EXPECT_EQ(font.lfHeight, c.tipFontHeight) << c.dpi;
    }
}

TEST_F(ControlBar, ButtonsFollowStatePlaylistAndFullScreen) {
    struct Case {
        int state, entries;
        bool fullScreen;
        std::vector<int> shownEnabled, hidden, shownDisabled;
    };
    const Case cases[] = {
        {StatePlaying,
         2,
         false,
         {IDC_BTN_STOP, IDC_BTN_PAUSE, IDC_BTN_PREV, IDC_BTN_NEXT, IDC_BTN_FULLSCREEN},
         {IDC_BTN_OPEN, IDC_BTN_PLAY, IDC_BTN_LEAVE_FULLSCREEN},
         {}},
        {StatePaused,
         1,
         true,
         {IDC_BTN_STOP, IDC_BTN_PLAY, IDC_BTN_LEAVE_FULLSCREEN},
         {IDC_BTN_OPEN, IDC_BTN_PAUSE, IDC_BTN_FULLSCREEN},
         {IDC_BTN_PREV, IDC_BTN_NEXT}},
        {StateStopped,
         0,
         false,
         {IDC_BTN_OPEN},
         {IDC_BTN_STOP, IDC_BTN_PAUSE},
         {IDC_BTN_PLAY, IDC_BTN_PREV, IDC_BTN_NEXT}},
        {StateEnded, 3, false, {IDC_BTN_OPEN, IDC_BTN_PLAY, IDC_BTN_PREV, IDC_BTN_NEXT}, {IDC_BTN_STOP}, {}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        player->state = c.state;
        appState().fullScreen = c.fullScreen;
        PlayListData& list = appState().controller->playlist();
        list.clear();
        for (int i = 0; i < c.entries; ++i) {
            list.addFile(folder.addFile(std::to_wstring(i) + L".mpg"), i == 0 ? 1 : 0);
        }
        bar->updateButtons();
        for (int id : c.shownEnabled) {
            EXPECT_TRUE(shown(id) && enabled(id)) << id << " in state " << c.state;
        }
        for (int id : c.hidden) {
            EXPECT_TRUE(!shown(id) && !enabled(id)) << id << " in state " << c.state;
        }
        for (int id : c.shownDisabled) {
            EXPECT_TRUE(shown(id) && !enabled(id)) << id << " in state " << c.state;
        }
    }
}

TEST_F(ControlBar, ButtonsPostTheirCommands) {
    struct Case {
        int button, notification, command;
    };
    const Case cases[] = {
        {IDC_BTN_FULLSCREEN, BN_CLICKED, ID_FULLSCREEN},
        {IDC_BTN_LEAVE_FULLSCREEN, BN_CLICKED, ID_FULLSCREEN},
        {IDC_BTN_OPEN, BN_CLICKED, ID_FILE_OPEN},
        {IDC_BTN_NEXT, BN_CLICKED, ID_NEXT},
        {IDC_BTN_NEXT, BN_DOUBLECLICKED, ID_NEXT},  // a quick second click
        {IDC_BTN_MUTE, BN_DOUBLECLICKED, ID_MUTE},
        {IDC_BTN_NEXT, BN_SETFOCUS, -1},
        {IDOK, BN_CLICKED, -1},
        {IDCANCEL, BN_CLICKED, -1},
    };
    for (const Case& c : cases) {
        SendMessageW(bar->window(), WM_COMMAND, MAKEWPARAM(c.button, c.notification), 0);
        EXPECT_EQ(takePostedCommand(mainWindow), c.command) << c.button << " notification " << c.notification;
    }
}

TEST_F(ControlBar, VolumePressSetsTheNearestPercent) {
    const RECT area = controlRect(IDC_VOLUME_SLIDER);
    const std::pair<int, int> cases[] = {{8, 0}, {34, 50}, {60, 100}, {67, 100}, {20, 23}};
    for (const auto& [dx, volume] : cases) {
        appState().controller->setVolume(70);
        SendMessageW(bar->window(), WM_LBUTTONDOWN, MK_LBUTTON, at(area.left + dx, area.top + 2));
        EXPECT_EQ(appState().controller->volume(), volume) << dx;
        EXPECT_EQ(bar->shownVolume(), volume) << dx;
        SendMessageW(bar->window(), WM_LBUTTONUP, 0, at(area.left + dx, area.top + 2));
        EXPECT_EQ(GetCapture(), nullptr);
    }
    appState().controller->toggleMute();
    EXPECT_EQ(bar->shownVolume(), 0);
}

TEST_F(ControlBar, TimeDragSeeksWithinTheLengthAndAPressElsewhereTakesNothing) {
    player->state = StatePlaying;
    const RECT area = controlRect(IDC_TIME_SLIDER);
    SendMessageW(bar->window(), WM_LBUTTONDOWN, MK_LBUTTON, at(area.right - 2, area.top + 2));
    SendMessageW(bar->window(), WM_LBUTTONUP, 0, at(area.right - 2, area.top + 2));
    EXPECT_EQ(lastSeek(), -1);  // no length known yet: nowhere to seek to

    player->length = 600000;
    bar->refreshTime();
    SendMessageW(bar->window(), WM_LBUTTONDOWN, MK_LBUTTON, at(area.left + 50, area.top + 2));
    EXPECT_EQ(GetCapture(), bar->window());
    SendMessageW(bar->window(), WM_MOUSEMOVE, MK_LBUTTON, at(-40, 5));
    EXPECT_EQ(lastSeek(), 0);
    SendMessageW(bar->window(), WM_MOUSEMOVE, MK_LBUTTON, at(2000, 5));
    EXPECT_EQ(lastSeek(), 600000);
    EXPECT_EQ(bar->position(), 600000);
    SendMessageW(bar->window(), WM_LBUTTONUP, 0, at(2000, 5));
    player->seeks.clear();
    SendMessageW(bar->window(), WM_MOUSEMOVE, 0, at(area.left + 50, 5));
    EXPECT_EQ(lastSeek(), -1);  // released: no more seeking

    SendMessageW(bar->window(), WM_LBUTTONDOWN, MK_LBUTTON, at(area.left - 10, 30));  // over no slider
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(bar->dragTarget(), 0);
}

TEST_F(ControlBar, EveryButtonHasItsTooltip) {
    for (const auto& [id, text] : kBarButtonNames) {
        wchar_t shown[64] = L"";
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = bar->window();
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(bar->window(), id));
        tool.lpszText = shown;
        SendMessageW(bar->tooltip(), TTM_GETTEXTW, ARRAYSIZE(shown), reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(shown, text) << "button " << id;
    }
}

// The sliders the layout drew are on the bar from its first paint, before the player reports a time.
TEST_F(ControlBar, RepaintBeforeAnyRefreshShowsTheSliders) {
    DibCanvas painted(480, bar->height(), 0);
    DibCanvas background(480, bar->height(), 0);
    bar->paint(painted.dc());
    const std::unique_ptr<Gdiplus::Image> picture = loadSkinImage(GetModuleHandleW(nullptr), L"IDB_BAR_BKG");
    bar->tileImage(background.dc(), picture.get(), 0, 0, 480);
    GdiFlush();
    for (int id : {IDC_TIME_SLIDER, IDC_VOLUME_SLIDER}) {
        const RECT area = controlRect(id);
        EXPECT_NE(column(painted.dc(), area), column(background.dc(), area)) << "no slider " << id;
    }
}

TEST_F(ControlBar, TimeRefreshDrawsOutsideThePaintCycleAndBuffersOnlyGrow) {
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    player->state = StatePlaying;
    player->length = 3600000;
    player->time = 1800000;
    UpdateWindow(bar->window());
    const RECT area = controlRect(IDC_TIME_SLIDER);
    const WindowDC shown(bar->window());
    const std::vector<std::uint32_t> before = column(shown.get(), area);
    bar->refreshTime();
    EXPECT_FALSE(GetUpdateRect(bar->window(), nullptr, FALSE));
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, bar->window(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(bar->position(), 1800000);
    // The knob and the time text moved on the screen, to what the bar composed.
    const std::vector<std::uint32_t> after = column(shown.get(), area);
    EXPECT_NE(after, before) << "the refresh drew nothing";
    EXPECT_EQ(after, column(bar->compositeBuffer().dc(), area));

    player->time = 5000000;  // past the length, as a report may come in just before the end
    bar->refreshTime();
    EXPECT_EQ(bar->position(), 3600000);

    const HBITMAP first = bar->compositeBuffer().bitmap();
    ASSERT_NE(first, nullptr);
    resize(400);
    EXPECT_EQ(bar->compositeBuffer().bitmap(), first);
    resize(800);
    EXPECT_NE(bar->compositeBuffer().bitmap(), first);
    EXPECT_EQ(bar->compositeBuffer().width(), 800);
}

// A text about a change takes the place of the time for a while, then the time comes back by itself;
// in full screen it brings the hidden bar back.
TEST_F(ControlBar, AFeedbackTextTakesThePlaceOfTheTimeForAWhile) {
    player->state = StatePlaying;
    player->length = 60000;
    player->time = 5000;
    bar->refreshTime();
    const std::vector<std::uint32_t> time = timeColumn();

    bar->showFeedback(L"Volume 90 %", 2000);
    EXPECT_EQ(bar->feedback(), L"Volume 90 %");
    EXPECT_NE(timeColumn(), time) << "the text is not drawn";
    EXPECT_TRUE(pumpUntil([&] { return bar->feedback().empty(); }, 10000)) << "the text stays";
    EXPECT_EQ(timeColumn(), time);

    ShowWindow(bar->window(), SW_HIDE);
    bar->setLastActivity(1, POINT{});
    bar->showFeedback(L"Muted", 2000);
    EXPECT_TRUE(GetWindowLongPtrW(bar->window(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(bar->lastActivity(), 1u) << "the rest before the bar hides again starts afresh";
}

// The bar tells the truth: a disabled button is drawn grey and faded (its darkest pixel lighter, its
// colours grey), and Mute shows a struck-through speaker while the sound is off.
TEST_F(ControlBar, DisabledButtonsAreDimmedAndMuteShowsTheSoundOff) {
    const auto darkest = [](const std::vector<std::uint32_t>& pixels) {
        int level = 255;
        for (std::uint32_t p : pixels) {
            level = std::min(level, std::min({redOf(p), greenOf(p), blueOf(p)}));
        }
        return level;
    };
    const auto coloured = [](const std::vector<std::uint32_t>& pixels) {
        size_t count = 0;
        for (std::uint32_t p : pixels) {
            count +=
                std::max({redOf(p), greenOf(p), blueOf(p)}) - std::min({redOf(p), greenOf(p), blueOf(p)}) >
                24;
        }
        return count;
    };
    const std::vector<std::uint32_t> play = drawnButton(IDC_BTN_PLAY);
    const std::vector<std::uint32_t> dimmed = drawnButton(IDC_BTN_PLAY, ODS_DISABLED);
    EXPECT_GT(darkest(dimmed), darkest(play) + 40);
    EXPECT_GT(coloured(play), 0u) << "the play glyph is blue";
    EXPECT_EQ(coloured(dimmed), 0u);

    const std::vector<std::uint32_t> sound = drawnButton(IDC_BTN_MUTE);
    appState().controller->toggleMute();
    const std::vector<std::uint32_t> muted = drawnButton(IDC_BTN_MUTE);
    EXPECT_NE(muted, sound);
    EXPECT_GT(coloured(muted), coloured(sound)) << "no red stroke";
    appState().controller->toggleMute();
    EXPECT_EQ(drawnButton(IDC_BTN_MUTE), sound);
}

std::vector<std::pair<HWND, std::wstring>> g_announced;
bool recordAnnouncement(HWND window, const std::wstring& text) {
    g_announced.emplace_back(window, text);
    return true;
}

// A told text (here a volume change the view is told) goes out as an announcement (UI Automation's call,
// a fake here) and names the told-text object; a reader holding that object after the bar is gone finds it
// disconnected, and lets go of it.
TEST_F(ControlBar, AToldTextIsAnnouncedAndNamesTheStatusObject) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const HWND status = GetDlgItem(bar->window(), IDC_TOLD_STATUS);
    g_announced.clear();
    BarAccess::setNotifier(&recordAnnouncement);
    playerWindows().tell(Told(Change::Kind::Volume).percent(90));
    BarAccess::setNotifier(nullptr);
    ASSERT_EQ(g_announced.size(), 1u);
    EXPECT_EQ(g_announced[0], std::make_pair(bar->window(), std::wstring(L"Volume 90 %")));

    const ReaderView seen = readAsScreenReader(status);
    EXPECT_EQ(seen.name, L"Volume 90 %");
    EXPECT_EQ(seen.role, ROLE_SYSTEM_STATUSBAR);

    IAccessible* object = clientObject(status);
    ASSERT_NE(object, nullptr);
    bar->destroyWindows();
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(selfChild(), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(object->Release(), 0u) << "a reference left behind";
    CoUninitialize();
}

std::vector<HWND> g_valueChanges;
void CALLBACK recordValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) {
        g_valueChanges.push_back(window);
    }
}

// No event goes out before a reader has asked for a part; after that each volume change raises one. The
// events come in order: one raised here on the main window after each change marks the end of its events.
TEST_F(ControlBar, VolumeChangesAreRaisedOnlyOnceAReaderAsked) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const HWND volume = GetDlgItem(bar->window(), IDC_VOLUME_SLIDER);
    g_valueChanges.clear();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &recordValueChange,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto changeVolumeAndWait = [&](int percent, size_t events) {
        appState().controller->setVolume(percent);
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, mainWindow, OBJID_CLIENT, CHILDID_SELF);
        return pumpUntil(
            [&] { return g_valueChanges.size() >= events && g_valueChanges.back() == mainWindow; }, 5000);
    };
    EXPECT_TRUE(changeVolumeAndWait(50, 1));
    EXPECT_EQ(g_valueChanges, std::vector<HWND>{mainWindow});

    EXPECT_EQ(readAsScreenReader(volume).value, L"50 %");  // a reader asks
    EXPECT_TRUE(changeVolumeAndWait(40, 3));
    EXPECT_EQ(g_valueChanges, (std::vector<HWND>{mainWindow, volume, mainWindow}));
    EXPECT_EQ(readAsScreenReader(volume).value, L"40 %");
    UnhookWinEvent(hook);
    CoUninitialize();
}

}  // namespace
