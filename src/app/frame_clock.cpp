#include "app/frame_clock.h"

#include <chrono>

namespace smokedrift {

namespace {
constinit MillisecondSource currentSource = nullptr;
}  // namespace

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void setMillisecondSource(MillisecondSource source) { currentSource = source; }

void FrameClock::update() {
    previousTime = currentTime;
    elapsedMilliseconds = static_cast<double>(currentSource ? currentSource() : steadyMilliseconds());
    currentTime = elapsedMilliseconds * 0.001;
    timeStep = currentTime - previousTime;
}

}  // namespace smokedrift
