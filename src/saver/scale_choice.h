#pragma once
// The render scale the saver picks by itself (--render-scale auto) where OpenGL draws in software:
// the smallest divisor whose frames stay within their budget, so that the smoke moves smoothly,
// the CPU keeps a share for others and a key waits for at most one frame in flight. Measured in
// the first second and re-checked rarely; the rules below cannot make it flap.
//
// Told the time and the frame costs rather than reading them, so a unit table drives it.
#include <cstdint>

namespace smokedrift {

// Whether GL_RENDERER and GL_VENDOR name a renderer that draws on the CPU: Mesa's llvmpipe and
// softpipe, the Windows software renderer ("GDI Generic"), SwiftShader, WARP and the like.
bool softwareRenderer(const char* renderer, const char* vendor);

// The share of the time between two frames that drawing one may take.
constexpr double FRAME_BUDGET_SHARE = 0.4;
// A finer divisor is taken only when the frame, grown in proportion to the pixels drawn (which
// overstates it: swapping and scaling up cost the same at every divisor), stays within this share
// of the budget. Together with stepping up only above the whole budget, a step is never undone
// while the costs stay what they were.
constexpr double FINER_SHARE = 0.8;
// The first divisor draws at most this many pixels, so the first frames, measured before any
// choice, cost little at every window size.
constexpr long START_PIXELS = 160000;

// Bit k of an allowed set: divisor k may be used (1 always may; larger ones need a texture that fits).
constexpr unsigned scaleBit(int k) { return 1u << k; }

// The first divisor for a window: the smallest allowed whose block draws at most START_PIXELS,
// else the largest allowed.
int firstScale(int width, int height, unsigned allowed);

// The divisor after a frame cost (the median of a window of frames) measured at `current`:
// - above the budget, the smallest larger allowed divisor at which the cost, shrunk with the
//   pixels drawn, would fit, or else the largest allowed;
// - else, when `mayGoFiner`, the next smaller allowed divisor if the cost grown with the pixels
//   drawn stays within FINER_SHARE of the budget;
// - else `current`.
int nextScale(int current, double costMicroseconds, double budgetMicroseconds, unsigned allowed, bool mayGoFiner);

class ScaleChooser {
public:
    // Frames skipped after a start or a change: they pay for compiling the new draws.
    static constexpr int SETTLE_FRAMES = 3;
    // Frames of one measurement while choosing.
    static constexpr int WINDOW_FRAMES = 8;
    // Between re-checks once chosen, and how long after a step to a coarser divisor no finer one
    // is tried.
    static constexpr std::int64_t RECHECK_MICROSECONDS = 20000000;
    static constexpr std::int64_t HOLD_MICROSECONDS = 120000000;
    static constexpr int MAX_SAMPLES = 1024;

    // At the start and whenever the window's size changes: chooses the first divisor.
    void start(int width, int height, unsigned allowed, double budgetMicroseconds);
    // After each drawn frame: when it ended and how long it took from the start of drawing to the
    // end of the swap. True when the divisor changed or was chosen for the first time.
    bool frameDrawn(std::int64_t now, std::int64_t costMicroseconds);

    int scale() const { return current; }
    // Whether the first second's measurement is over.
    bool chosen() const { return settledOnce; }
    // The median cost of the last measurement and the divisor it was measured at.
    double lastCost() const { return measuredCost; }
    int lastMeasuredScale() const { return measuredScale; }
    double budget() const { return budgetMicros; }

private:
    double median();
    void restartWindow();

    unsigned allowedSet = scaleBit(1);
    double budgetMicros = 0;
    int current = 1;
    int skip = 0;
    bool measuring = true;  // choosing (windows of WINDOW_FRAMES) rather than re-checking
    bool settledOnce = false;
    std::int64_t nextCheck = -1;  // re-check time; -1 until the first re-checked frame sets it
    std::int64_t coarserAt = -1;  // when a step to a coarser divisor was last taken
    double measuredCost = 0;
    int measuredScale = 1;
    int count = 0;
    float samples[MAX_SAMPLES] = {};
};

}  // namespace smokedrift
