#include "saver/frame_schedule.h"

#include "app/frame_clock.h"

namespace smokedrift {

namespace {
constinit MicrosecondClock currentClock = nullptr;
}  // namespace

bool FrameSchedule::startAt(std::int64_t now) {
    started = true;
    origin = now;
    next = 0;
    return draw(now);
}

bool FrameSchedule::draw(std::int64_t now) {
    lastDrawn = now;
    if (++next == frames) {
        origin += span;
        next = 0;
    }
    return true;
}

bool FrameSchedule::due(std::int64_t now) {
    // Past the end of the span is a whole interval late whichever frame was due; checked first so
    // the products below stay small.
    if (!started || now < lastDrawn || now - origin >= span) return startAt(now);
    // Both sides in 1/frames of a microsecond: exact.
    const std::int64_t elapsed = (now - origin) * frames;
    if (elapsed < next * span) return false;
    if (elapsed >= (next + 1) * span) return startAt(now);
    return draw(now);
}

void setSaverClock(MicrosecondClock clock) { currentClock = clock; }

std::int64_t saverMicroseconds() { return currentClock ? currentClock() : steadyMicroseconds(); }

}  // namespace smokedrift
