// The saver window's frame schedule on a scripted clock: which timer ticks draw.
#include <gtest/gtest.h>

#include <cstdint>

#include "saver/frame_schedule.h"

using smokedrift::FrameSchedule;

namespace {

constexpr std::int64_t MS = 1000;
constexpr std::int64_t SECOND = 1000 * MS;
constexpr std::int64_t HOUR = 3600 * SECOND;

struct Ticks {
    const char* what;
    std::int64_t spacing;  // microseconds between ticks
    FrameSchedule schedule;
    int ticks;
    int jumpAt;  // from this tick on the clock reads `jump` more (0: no jump)
    std::int64_t jump;
    int frames;
};

const Ticks TICKS[] = {
    {"5 ms ticks over 100 ms", 5 * MS, FrameSchedule(), 21, 0, 0, 7},
    {"5 ms ticks for a minute: exactly 60 a second", 5 * MS, FrameSchedule(), 12001, 0, 0, 3601},
    {"15.625 ms ticks (a 5 ms timer on Windows) still give 60 a second", 15625, FrameSchedule(), 65, 0, 0, 61},
    {"20 ms ticks: each draws", 20 * MS, FrameSchedule(), 51, 0, 0, 51},
    {"a delay of 1/30 s: due a delay apart, not a delay after the tick", 5 * MS, FrameSchedule(33333), 201, 0, 0, 31},
    {"a delay shorter than the tick: each draws", 5 * MS, FrameSchedule(1 * MS), 20, 0, 0, 20},
    {"a 2 s gap starts over instead of catching up", 5 * MS, FrameSchedule(), 21, 10, 2 * SECOND, 7},
    {"a clock going back an hour starts over", 5 * MS, FrameSchedule(), 21, 10, -HOUR, 7},
    {"a clock jumping a year ahead starts over", 5 * MS, FrameSchedule(), 21, 10, 8766 * HOUR, 7},
    {"a clock standing still draws once", 0, FrameSchedule(), 10, 0, 0, 1},
};

TEST(FrameSchedule, TicksDrawAtMostTheScheduledFrames) {
    constexpr std::int64_t start = 24 * HOUR;  // the clock's origin is arbitrary
    for (const Ticks& t : TICKS) {
        FrameSchedule schedule = t.schedule;
        int frames = 0;
        for (int i = 0; i < t.ticks; ++i) {
            const std::int64_t now = start + t.spacing * i + (t.jumpAt > 0 && i >= t.jumpAt ? t.jump : 0);
            if (schedule.due(now)) ++frames;
        }
        EXPECT_EQ(frames, t.frames) << t.what;
    }
}

}  // namespace
