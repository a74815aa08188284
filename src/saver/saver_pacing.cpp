#include "saver/saver_pacing.h"

namespace smokedrift {

namespace {

// 1/60 s in thirds of a millisecond, so frames due every 16 2/3 ms average 60 a second on a
// millisecond counter.
constexpr DWORD FRAME_THIRDS = 50;
// Longer gaps count as this much: the step then starts over instead of catching up in a burst.
constexpr DWORD LONGEST_GAP_MS = 1000;

}  // namespace

bool FramePacer::frameDue(DWORD now) {
    if (!started) {
        started = true;
        lastFrame = now;
        owedThirds = 0;
        return true;
    }
    // Unsigned difference: right across the counter's wrap after 49.7 days.
    DWORD gap = now - lastFrame;
    if (gap > LONGEST_GAP_MS) gap = LONGEST_GAP_MS;
    const DWORD thirds = gap * 3 + owedThirds;
    if (thirds < FRAME_THIRDS) return false;
    lastFrame = now;
    owedThirds = thirds - FRAME_THIRDS;
    // A whole frame behind: start the schedule again from this frame.
    if (owedThirds >= FRAME_THIRDS) owedThirds = 0;
    return true;
}

}  // namespace smokedrift
