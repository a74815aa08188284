#include "app/startup_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace smokedrift {

namespace {

using Clock = std::chrono::steady_clock;

// Taken while the program's globals are constructed, as close to process start as portable code
// gets (the dynamic loader has run; nothing of ours has).
const Clock::time_point processStart = Clock::now();
const bool tracing = std::getenv("SMOKEDRIFT_TRACE_STARTUP") != nullptr;

constexpr int MARKS = static_cast<int>(StartupMark::Count);
double marks[MARKS] = {};
bool reported = false;

double sinceStart() { return std::chrono::duration<double, std::milli>(Clock::now() - processStart).count(); }

}  // namespace

void markStartup(StartupMark mark) {
    if (!tracing || reported) return;
    marks[static_cast<int>(mark)] = sinceStart();
    if (mark != StartupMark::FirstFrame) return;
    reported = true;
    const double* m = marks;
    std::fprintf(stderr, "startup ms: context %.2f, texture %.2f (%.2f..%.2f), scene %.2f, first frame %.2f\n", m[0],
                 m[2] - m[1], m[1], m[2], m[3], m[4]);
}

}  // namespace smokedrift
