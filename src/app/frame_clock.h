#pragma once
#include <cstdint>

namespace smokedrift {

// A millisecond counter with an arbitrary origin; only differences between readings matter.
using MillisecondSource = std::int64_t (*)();

// The real source: std::chrono::steady_clock, 64-bit, never wraps or goes backwards.
std::int64_t steadyMilliseconds();

// The same clock in microseconds, for pacing frames.
std::int64_t steadyMicroseconds();

// Replaces the counter the frame clock reads (render mode and tests run on simulated time).
// Passing null restores the real source.
void setMillisecondSource(MillisecondSource source);

// Turns the millisecond counter into seconds and into the step between two updates, so the
// animation moves at the same speed whatever the frame rate.
class FrameClock {
public:
    FrameClock() = default;
    virtual ~FrameClock() = default;

    void update();

    double previousTime = 0;
    double currentTime = 0;
    double timeStep = 0;
    double elapsedMilliseconds = 0;
};

}  // namespace smokedrift
