#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "ui/CursorIdle.h"

namespace {

using Action = CursorIdle::Action;

struct Tick {
    POINT position;
    DWORD now;
    bool playing;
    bool overVideo;
    Action expected;
};

struct CursorCase {
    const char* name;
    POINT start;
    DWORD startTick;
    std::vector<Tick> ticks;
};

void PrintTo(const CursorCase& c, std::ostream* os) {
    *os << c.name;
}

class CursorIdleRule : public testing::TestWithParam<CursorCase> {};

TEST_P(CursorIdleRule, AnswersEachTick) {
    const CursorCase& c = GetParam();
    CursorIdle rule;
    rule.reset(c.start, c.startTick);
    for (size_t i = 0; i < c.ticks.size(); ++i) {
        const Tick& t = c.ticks[i];
        EXPECT_EQ(rule.tick(t.position, t.now, t.playing, t.overVideo), t.expected) << "tick " << i;
    }
}

const POINT kHome{100, 100};

INSTANTIATE_TEST_SUITE_P(
    Cases, CursorIdleRule,
    testing::Values(
        CursorCase{"HidesAfterFiveSecondsOfRestWhilePlayingOverVideo",
                   kHome,
                   1000,
                   {{kHome, 5999, true, true, Action::None}, {kHome, 6000, true, true, Action::Hide}}},
        CursorCase{"HidesOnlyOnce",
                   kHome,
                   0,
                   {{kHome, 5000, true, true, Action::Hide}, {kHome, 5260, true, true, Action::None}}},
        CursorCase{
            "MovementOfExactlyFivePixelsIsRest",
            kHome,
            0,
            {{{105, 95}, 2000, true, true, Action::None}, {{95, 105}, 5000, true, true, Action::Hide}}},
        CursorCase{"MovementOfSixPixelsRestartsTheWait",
                   kHome,
                   0,
                   {{{106, 100}, 2000, true, true, Action::None},
                    {{106, 100}, 5000, true, true, Action::None},
                    {{106, 100}, 7000, true, true, Action::Hide}}},
        CursorCase{"MovementShowsAHiddenCursor",
                   kHome,
                   0,
                   {{kHome, 5000, true, true, Action::Hide},
                    {{100, 120}, 5260, true, true, Action::Show},
                    {{100, 140}, 5520, true, true, Action::None}}},
        CursorCase{"SlowDriftCountsOnceItPassesFivePixelsFromTheAnchor",
                   kHome,
                   0,
                   {{{103, 100}, 3000, true, true, Action::None},
                    {{106, 100}, 4000, true, true, Action::None},
                    {{106, 100}, 5000, true, true, Action::None},
                    {{106, 100}, 9000, true, true, Action::Hide}}},
        CursorCase{"StaysWhileNotPlaying",
                   kHome,
                   0,
                   {{kHome, 6000, false, true, Action::None}, {kHome, 60000, false, true, Action::None}}},
        CursorCase{"StaysOutsideTheVideo",
                   kHome,
                   0,
                   {{kHome, 6000, true, false, Action::None}, {kHome, 6260, true, true, Action::Hide}}},
        CursorCase{"PausingDoesNotBringItBack",
                   kHome,
                   0,
                   {{kHome, 5000, true, true, Action::Hide},
                    {kHome, 5260, false, true, Action::None},
                    {kHome, 5520, false, false, Action::None},
                    {{300, 300}, 5780, false, false, Action::Show}}},
        CursorCase{"TickCounterWrapIsHarmless",
                   kHome,
                   0xFFFFF000u,
                   {{kHome, 0x00000100u, true, true, Action::None},
                    {kHome, 0x00000388u, true, true, Action::Hide}}}),
    [](const testing::TestParamInfo<CursorCase>& info) { return std::string(info.param.name); });

// Whatever the sequence, the rule never asks for two hides or two shows in a row, so the display
// counter of ShowCursor returns to where it started once the cursor moves again.
// At 144 DPI the threshold is 8 pixels: 8 is still rest, 9 a movement.
TEST(CursorIdleThreshold, FollowsTheDpi) {
    CursorIdle rule;
    rule.setMoveThreshold(8);
    rule.reset(kHome, 0);
    EXPECT_EQ(rule.tick({108, 92}, 5000, true, true), Action::Hide);
    EXPECT_EQ(rule.tick({109, 100}, 5100, true, true), Action::Show);
}

TEST(CursorIdleBalance, ShowAndHideAlternate) {
    CursorIdle rule;
    rule.reset(kHome, 0);
    int counter = 0;
    int lowest = 0;
    DWORD now = 0;
    for (int i = 0; i < 400; ++i) {
        now += 260;
        const bool move = i % 37 == 0;
        const POINT p{move ? 100 + (i % 2) * 50 : rule.anchor().x, 100};
        const Action a = rule.tick(p, now, i % 53 != 0, i % 41 != 0);
        counter += a == Action::Show ? 1 : a == Action::Hide ? -1 : 0;
        lowest = counter < lowest ? counter : lowest;
        ASSERT_GE(counter, -1);
        ASSERT_LE(counter, 0);
        EXPECT_EQ(rule.hidden(), counter == -1);
    }
    EXPECT_EQ(lowest, -1) << "the sequence never hid the cursor, so it proves nothing";
}

}  // namespace
