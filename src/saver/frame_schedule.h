#pragma once
// When the saver window draws: frames due evenly spaced on one microsecond clock.
#include <cstdint>

namespace smokedrift {

// Where the swap interval waits for a display refresh the swap paces the frames, and the default
// schedule never holds one back; where swaps return at once (Xvfb, VNC, many virtual machines) a
// frame costs less than a refresh and the frame timer would draw one per tick, for nothing the eye
// can see. The scene moves by elapsed time, so a skipped tick changes no speed.
//
// Told the time rather than reading it, so a test can script every tick. A new schedule draws on
// its first tick.
class FrameSchedule {
public:
    // At most 60 frames a second.
    constexpr FrameSchedule() = default;
    // At most `framesPerSpan` frames every `spanMicroseconds`, due evenly spaced. Kept as a
    // fraction so that 60 a second averages exactly 60 although 1/60 s is no whole microsecond.
    constexpr explicit FrameSchedule(std::int64_t spanMicroseconds, std::int64_t framesPerSpan = 1)
        : span(spanMicroseconds), frames(framesPerSpan > 0 ? framesPerSpan : 1) {}

    // Whether the tick at `now` (microseconds, any origin) draws; counts it as drawn when it does.
    // Frames are due an interval apart, not an interval after the tick that drew the last one, so
    // coarse ticks do not add up. A tick a whole interval late, or a clock that went back, starts
    // the schedule over from that tick instead of catching up in a burst.
    bool due(std::int64_t now);

private:
    bool startAt(std::int64_t now);
    bool draw(std::int64_t now);

    std::int64_t span = 1000000;
    std::int64_t frames = 60;
    bool started = false;
    std::int64_t origin = 0;     // when frame `next` of this span is due: origin + next * span / frames
    std::int64_t next = 0;       // below `frames`: the origin moves a span on after the span's last frame
    std::int64_t lastDrawn = 0;  // the tick that drew last
};

// The clock the saver window paces its frames by: microseconds with an arbitrary origin, only
// differences matter.
using MicrosecondClock = std::int64_t (*)();

// Replaces that clock (tests script it); null restores the steady clock.
void setSaverClock(MicrosecondClock clock);

// Reads it.
std::int64_t saverMicroseconds();

}  // namespace smokedrift
