// What only the stand-in does: carry on (and count a hazard) where the real library would hang, paint
// a moving picture into the window it is given, log the calls, and export every entry by its name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <vlc/vlc.h>

#include "common/MessagePump.h"
#include "common/StandinCalls.h"
#include "common/TempFolder.h"
#include "common/TestClips.h"
#include "common/TestWindows.h"

extern "C" int standin_libvlc_hazard_count(void);

namespace {

using testclips::utf8Path;

// Members are public: the listeners below reach them through the user data.
class Standin : public ::testing::Test {
public:
    void SetUp() override {
        instance_ = libvlc_new(0, nullptr);
        player_ = libvlc_media_player_new(instance_);
        ASSERT_NE(player_, nullptr);
    }
    void TearDown() override {
        libvlc_media_player_stop(player_);
        libvlc_media_player_release(player_);
        libvlc_media_release(media_);
        libvlc_release(instance_);
    }
    void play(const char* name) {
        media_ = libvlc_media_new_path(instance_, utf8Path(name).c_str());
        libvlc_media_player_set_media(player_, media_);
        ASSERT_EQ(libvlc_media_player_play(player_), 0);
    }
    // A window of 320 x 240 that paints nothing itself: only the stand-in draws there.
    static testwin::TestWindow videoWindow() {
        return testwin::TestWindow(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {10, 10, 330, 250});
    }
    // Plays the clip into the window until it has played a moment.
    void playInto(HWND window, const char* name) {
        ASSERT_NE(window, nullptr);
        libvlc_media_player_set_hwnd(player_, window);
        play(name);
        ASSERT_TRUE(pumpUntil([&] { return libvlc_media_player_get_time(player_) > 300; }, 5000));
    }
    void attach(libvlc_event_type_t type, libvlc_callback_t callback) {
        ASSERT_EQ(libvlc_event_attach(libvlc_media_player_event_manager(player_), type, callback, this), 0);
    }

    libvlc_instance_t* instance_ = nullptr;
    libvlc_media_player_t* player_ = nullptr;
    libvlc_media_t* media_ = nullptr;
    std::atomic<int> timeReports_{0};
    std::atomic<int> stopped_{0};
    std::atomic<long long> timeInStopped_{-2};
};

void stopFromListener(const libvlc_event_t*, void* data) {
    auto* self = static_cast<Standin*>(data);
    if (self->timeReports_++ == 0) {
        libvlc_media_player_stop(self->player_);
    }
}

void countStopped(const libvlc_event_t*, void* data) {
    ++static_cast<Standin*>(data)->stopped_;
}

void readTimeWhenStopped(const libvlc_event_t*, void* data) {
    auto* self = static_cast<Standin*>(data);
    self->timeInStopped_ = libvlc_media_player_get_time(self->player_);
    ++self->stopped_;
}

TEST_F(Standin, StopInsideAListenerCarriesOnAndCountsAHazard) {
    attach(libvlc_MediaPlayerTimeChanged, stopFromListener);
    attach(libvlc_MediaPlayerStopped, countStopped);
    const int hazards = standin_libvlc_hazard_count();
    play("long.mpg");
    ASSERT_TRUE(pumpUntil([&] { return stopped_ == 1; }, 5000));
    EXPECT_EQ(standin_libvlc_hazard_count(), hazards + 1);
    EXPECT_EQ(libvlc_media_player_get_state(player_), libvlc_Stopped);
    EXPECT_EQ(libvlc_media_player_get_time(player_), -1);

    // The player stays usable: the next play starts a new session.
    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    EXPECT_TRUE(pumpUntil([&] { return libvlc_media_player_get_state(player_) == libvlc_Playing; }, 5000));
}

TEST_F(Standin, ReadingTheTimeInsideTheStoppedEventOfStopIsAHazard) {
    attach(libvlc_MediaPlayerStopped, readTimeWhenStopped);
    play("long.mpg");
    ASSERT_TRUE(pumpUntil([&] { return libvlc_media_player_get_time(player_) > 300; }, 5000));
    const int hazards = standin_libvlc_hazard_count();
    libvlc_media_player_stop(player_);
    EXPECT_EQ(stopped_, 1);
    EXPECT_EQ(timeInStopped_, -1);
    EXPECT_EQ(standin_libvlc_hazard_count(), hazards + 1);

    // Outside a stop the same read is harmless.
    EXPECT_EQ(libvlc_media_player_get_time(player_), -1);
    EXPECT_EQ(standin_libvlc_hazard_count(), hazards + 1);
}

TEST_F(Standin, VolumeAndMuteAreKeptAcrossPlaySessions) {
    play("short.mpg");
    ASSERT_TRUE(pumpUntil([&] { return libvlc_media_player_get_state(player_) == libvlc_Playing; }, 5000));
    ASSERT_EQ(libvlc_audio_set_volume(player_, 35), 0);
    libvlc_audio_set_mute(player_, 1);
    EXPECT_EQ(libvlc_audio_get_volume(player_), 35);
    EXPECT_EQ(libvlc_audio_get_mute(player_), 1);
    libvlc_media_player_stop(player_);
    ASSERT_EQ(libvlc_media_player_play(player_), 0);
    ASSERT_TRUE(pumpUntil([&] { return libvlc_audio_get_volume(player_) >= 0; }, 5000));
    EXPECT_EQ(libvlc_audio_get_volume(player_), 35);
    EXPECT_EQ(libvlc_audio_get_mute(player_), 1);
}

// Every 8th pixel along one row of the window from x = first, as the screen has them.
std::vector<COLORREF> rowPixels(HWND window, int y, int first, int width) {
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window);
    for (int x = first; x < width; x += 8) {
        pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(window, dc);
    return pixels;
}

TEST_F(Standin, PaintsSlidingBarsIntoTheGivenWindow) {
    const testwin::TestWindow video = videoWindow();
    const HWND window = video.get();
    playInto(window, "long.mpg");
    size_t colours = 0;
    EXPECT_TRUE(pumpUntil(
        [&] {
            const std::vector<COLORREF> row = rowPixels(window, 10, 2, 320);
            colours = std::set<COLORREF>(row.begin(), row.end()).size();
            return colours >= 5;
        },
        5000))
        << "coloured bars across the picture: " << colours << " colours";

    const std::vector<COLORREF> before = rowPixels(window, 10, 0, 320);
    EXPECT_TRUE(pumpUntil([&] { return rowPixels(window, 10, 0, 320) != before; }, 5000))
        << "the bars slide as the time goes on";

    libvlc_media_player_stop(player_);
}

// The real marquee is drawn into the picture; the stand-in's too, at the top left, white on black, and it
// goes when its time is up. Its switch stays on the player: the next picture shows the text again, for
// its whole time, until the marquee is switched off. A text the Windows C runtime can't take as a time
// format is a hazard.
TEST_F(Standin, PaintsTheOnScreenTextAsTheLibraryKeepsIt) {
    const testwin::TestWindow video = videoWindow();
    const HWND window = video.get();
    playInto(window, "long.mpg");
    // White is nowhere in the bars, and the time's label is in the middle.
    const auto textShown = [&] {
        for (int y = 6; y < 20; ++y) {
            for (int first = 0; first < 8; ++first) {
                const std::vector<COLORREF> row = rowPixels(window, y, first, 120);
                if (std::find(row.begin(), row.end(), RGB(255, 255, 255)) != row.end()) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_FALSE(textShown());
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Timeout, 1000);
    libvlc_video_set_marquee_string(player_, libvlc_marquee_Text, "Audio: Track 2 - [French]");
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 1);
    EXPECT_TRUE(pumpUntil(textShown, 3000)) << "shown";
    EXPECT_TRUE(pumpUntil([&] { return !textShown(); }, 5000)) << "gone after its time";

    libvlc_media_player_stop(player_);
    libvlc_media_player_play(player_);
    EXPECT_TRUE(pumpUntil(textShown, 3000)) << "shown again over the next picture";
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 0);
    EXPECT_TRUE(pumpUntil([&] { return !textShown(); }, 3000)) << "switched off";
    libvlc_media_player_stop(player_);
    libvlc_media_player_play(player_);
    EXPECT_TRUE(pumpUntil([&] { return libvlc_media_player_get_time(player_) > 500; }, 5000));
    EXPECT_FALSE(textShown()) << "the next picture after the switch went off";

    const int hazards = standin_libvlc_hazard_count();
    libvlc_video_set_marquee_string(player_, libvlc_marquee_Text, "Volume 80 %%");
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 1);
    EXPECT_TRUE(pumpUntil(textShown, 3000));
    EXPECT_EQ(standin_libvlc_hazard_count(), hazards);
    libvlc_video_set_marquee_string(player_, libvlc_marquee_Text, "Volume 80 %");
    EXPECT_TRUE(pumpUntil([&] { return standin_libvlc_hazard_count() == hazards + 1; }, 3000));
}

TEST_F(Standin, LogsControlCallsToTheNamedFile) {
    const TempFolder folder;
    const std::wstring path = folder.path() + L"standin-calls.log";
    auto recording = std::make_unique<standincalls::Recording>(path);
    play("garbage.mpg");
    libvlc_audio_set_volume(player_, 30);
    libvlc_media_player_set_time(player_, 1500);
    libvlc_media_player_set_rate(player_, 1.5f);
    libvlc_audio_set_track(player_, 2);
    libvlc_video_set_spu(player_, -1);
    libvlc_media_player_add_slave(player_, libvlc_media_slave_type_subtitle, "file:///C:/a%20b.srt", true);
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Timeout, 2000);
    libvlc_video_set_marquee_string(player_, libvlc_marquee_Text, "Speed: 1.5\xC3\x97");
    libvlc_video_set_marquee_int(player_, libvlc_marquee_Enable, 1);
    libvlc_media_player_stop(player_);
    recording.reset();
    libvlc_media_player_play(player_);  // no longer logged

    const std::string expected = "set_media " + utf8Path("garbage.mpg") +
                                 "\nplay\nset_volume 30\nset_time 1500\nset_rate 1.5\naudio_set_track 2\n"
                                 "video_set_spu -1\nadd_slave subtitle file:///C:/a%20b.srt select 1\n"
                                 "set_marquee_int Timeout 2000\nset_marquee_string Text Speed: 1.5\xC3\x97\n"
                                 "set_marquee_int Enable 1\nstop\n";
    EXPECT_EQ(readAll(path), expected);
}

TEST(StandinExports, EveryEntryThePlayerLoadsIsThereByItsPlainName) {
    HMODULE module = GetModuleHandleW(L"libvlc.dll");
    ASSERT_NE(module, nullptr);
    // The entries after "libvlc_".
    std::istringstream names(
        "new release get_version media_new_path media_release media_retain media_player_new "
        "media_player_release media_player_set_media media_player_set_hwnd media_player_play "
        "media_player_pause "
        "media_player_stop media_player_is_playing media_player_get_state media_player_get_time "
        "media_player_get_length media_player_set_time media_player_event_manager event_attach event_detach "
        "audio_get_volume audio_set_volume audio_get_mute audio_set_mute video_get_track_count "
        "video_set_key_input video_set_mouse_input track_description_list_release "
        "audio_get_track_description "
        "audio_get_track audio_set_track video_get_spu_description video_get_spu video_set_spu "
        "media_player_add_slave media_player_get_rate media_player_set_rate video_set_marquee_int "
        "video_set_marquee_string video_get_size");
    for (std::string name; names >> name;) {
        EXPECT_NE(GetProcAddress(module, ("libvlc_" + name).c_str()), nullptr) << name;
    }
}

}  // namespace
