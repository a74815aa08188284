#include "saver/scale_choice.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "view/render_scale.h"

namespace smokedrift {

namespace {

// Lower-case words of renderers that draw on the CPU, as GL_RENDERER spells them: Mesa's
// ("llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", the old "Software Rasterizer", and zink or
// d3d12 over a software device), Windows' own OpenGL 1.1 ("GDI Generic"), Microsoft's WARP,
// Google's SwiftShader and Apple's fallback.
constexpr const char* SOFTWARE_RENDERERS[] = {
    "llvmpipe",
    "softpipe",
    "software rasterizer",
    "gdi generic",
    "basic render driver",
    "swiftshader",
    "apple software renderer",
};

bool containsWord(const char* text, const char* word) {
    if (text == nullptr) return false;
    const std::size_t n = std::strlen(word);
    for (const char* p = text; *p != '\0'; ++p) {
        std::size_t i = 0;
        while (i < n && p[i] != '\0' && std::tolower(static_cast<unsigned char>(p[i])) == word[i]) ++i;
        if (i == n) return true;
    }
    return false;
}

double pixelRatio(int from, int to) { return static_cast<double>(from) * from / (static_cast<double>(to) * to); }

}  // namespace

bool softwareRenderer(const char* renderer, const char* vendor) {
    for (const char* word : SOFTWARE_RENDERERS)
        if (containsWord(renderer, word)) return true;
    // SwiftShader has said so in the vendor string alone in some releases.
    return containsWord(vendor, "swiftshader");
}

int firstScale(int width, int height, unsigned allowed) {
    int largest = 1;
    for (int k = 1; k <= MAX_RENDER_SCALE; ++k) {
        if ((allowed & scaleBit(k)) == 0 && k != 1) continue;
        largest = k;
        if (static_cast<long>(drawnSide(width, k)) * drawnSide(height, k) <= START_PIXELS) return k;
    }
    return largest;
}

int nextScale(int current, double cost, double budget, unsigned allowed, bool mayGoFiner) {
    allowed |= scaleBit(1);
    if (cost > budget) {
        int largest = current;
        for (int k = current + 1; k <= MAX_RENDER_SCALE; ++k) {
            if ((allowed & scaleBit(k)) == 0) continue;
            largest = k;
            if (cost / pixelRatio(k, current) <= budget) return k;
        }
        return largest;
    }
    if (!mayGoFiner) return current;
    for (int k = current - 1; k >= 1; --k) {
        if ((allowed & scaleBit(k)) == 0) continue;
        return cost * pixelRatio(current, k) <= FINER_SHARE * budget ? k : current;
    }
    return current;
}

void ScaleChooser::start(int width, int height, unsigned allowed, double budgetMicroseconds) {
    allowedSet = allowed | scaleBit(1);
    budgetMicros = budgetMicroseconds;
    current = firstScale(width, height, allowedSet);
    measuring = true;
    settledOnce = false;
    coarserAt = -1;
    restartWindow();
}

void ScaleChooser::restartWindow() {
    skip = SETTLE_FRAMES;
    count = 0;
}

double ScaleChooser::median() {
    float* middle = samples + count / 2;
    std::nth_element(samples, middle, samples + count);
    return *middle;
}

bool ScaleChooser::frameDrawn(std::int64_t now, std::int64_t costMicroseconds) {
    if (skip > 0) {
        --skip;
        return false;
    }
    if (count < MAX_SAMPLES) samples[count++] = static_cast<float>(costMicroseconds);
    if (measuring ? count < WINDOW_FRAMES : now < nextCheck) return false;
    measuredCost = median();
    measuredScale = current;
    const bool mayGoFiner = coarserAt < 0 || now - coarserAt >= HOLD_MICROSECONDS;
    const int next = nextScale(current, measuredCost, budgetMicros, allowedSet, mayGoFiner);
    if (next != current) {
        if (next > current) coarserAt = now;
        current = next;
        // The new divisor is measured at once, as in the first second.
        measuring = true;
        restartWindow();
        return settledOnce;
    }
    const bool first = !settledOnce;
    measuring = false;
    settledOnce = true;
    count = 0;
    nextCheck = now + RECHECK_MICROSECONDS;
    return first;
}

}  // namespace smokedrift
