// The X11 idle source's alarm logic: which event each firing of the IDLETIME alarm gives and
// which test it arms next, with and without a saver suspension held at the idle firing.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "idle/x11_idle_logic.h"

namespace smokedrift::idle {
namespace {

using Alarm = X11IdleLogic::Alarm;

struct Firing {
    bool suspended;  // what the source would answer, if asked
    IdleEvent event;
    Alarm next;
    bool asked;  // whether the logic wanted the answer
};

struct Case {
    const char* name;
    std::vector<Firing> firings;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class X11IdleLogicTest : public testing::TestWithParam<Case> {};

TEST_P(X11IdleLogicTest, FiringsGiveEventsAndNextAlarms) {
    X11IdleLogic logic;
    EXPECT_EQ(logic.start(), Alarm::UntilIdle);
    int i = 0;
    for (const Firing& f : GetParam().firings) {
        SCOPED_TRACE(i++);
        EXPECT_EQ(logic.asksSuspension(), f.asked);
        const X11IdleLogic::Step step = logic.fired(f.suspended);
        EXPECT_EQ(step.event, f.event);
        EXPECT_EQ(step.next, f.next);
    }
}

constexpr IdleEvent NONE = IdleEvent::None;
constexpr IdleEvent IDLE = IdleEvent::Idle;
constexpr IdleEvent ACTIVE = IdleEvent::Active;

INSTANTIATE_TEST_SUITE_P(
    Sequences, X11IdleLogicTest,
    testing::Values(Case{"IdleThenInputThenIdle",
                         {{false, IDLE, Alarm::UntilReset, true},
                          {false, ACTIVE, Alarm::UntilIdle, false},
                          {false, IDLE, Alarm::UntilReset, true}}},
                    // A suspension held when the idle time passes: nothing, until the counter drops (the
                    // suspension ends) and a whole idle stretch passes without one.
                    Case{"SuspendedThenReleased",
                         {{true, NONE, Alarm::UntilReset, true},
                          {true, NONE, Alarm::UntilIdle, false},
                          {true, NONE, Alarm::UntilReset, true},
                          {false, NONE, Alarm::UntilIdle, false},
                          {false, IDLE, Alarm::UntilReset, true},
                          {false, ACTIVE, Alarm::UntilIdle, false}}},
                    // A suspension that starts after Idle was reported does not hide the input that follows.
                    Case{"SuspensionAfterIdle",
                         {{false, IDLE, Alarm::UntilReset, true}, {true, ACTIVE, Alarm::UntilIdle, false}}}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// Every counter value near the idle time fires exactly one of the two alarms, so the one armed
// after the other fired never fires on the same value.
TEST(X11IdleLogicTests, AlarmsShareNoCounterValue) {
    for (const std::uint32_t ms : {1000u, 86400000u}) {
        const X11IdleLogic::Test idle = X11IdleLogic::test(Alarm::UntilIdle, ms);
        const X11IdleLogic::Test reset = X11IdleLogic::test(Alarm::UntilReset, ms);
        ASSERT_TRUE(idle.rising);
        ASSERT_FALSE(reset.rising);
        EXPECT_EQ(idle.value, ms);
        for (std::int64_t counter = ms - 2; counter <= ms + 2; ++counter) {
            EXPECT_NE(counter >= idle.value, counter <= reset.value) << counter;
        }
    }
}

// The server's saver timeout read at each idle check, from the one at start: 0 inhibits only once
// the watcher has seen it on.
TEST(X11IdleLogicTests, SaverSwitchedOffInhibitsOnlyAfterItWasOn) {
    const struct {
        int atStart;
        std::vector<int> reads;
        std::vector<bool> inhibits;
    } cases[] = {
        {600, {600, 0, 0, 600}, {false, true, true, false}},  // xdg-screensaver suspend, then resume
        {0, {0, 0}, {false, false}},                          // xset s off in the user's session
        {0, {300, 0}, {false, true}},
    };
    for (const auto& c : cases) {
        ServerSaverSwitch s(c.atStart);
        for (std::size_t i = 0; i < c.reads.size(); ++i) EXPECT_EQ(s.inhibits(c.reads[i]), c.inhibits[i]) << i;
    }
}

}  // namespace
}  // namespace smokedrift::idle
