#include "base/random.h"

namespace smokedrift {

namespace {
constexpr std::uint32_t UNSEEDED_STATE = 1;
// Constant-initialised, so static constructors elsewhere that draw at start-up see state 1.
constinit std::uint32_t randomState = UNSEEDED_STATE;
}  // namespace

void seedRandom(std::uint32_t seed) { randomState = seed; }

void resetRandom() { randomState = UNSEEDED_STATE; }

int nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7fffu);
}

double randomUpTo(double max) { return nextRandom() / 32768.0 * max; }

float randomUpToF(float max) { return static_cast<float>(nextRandom()) / 32768.0f * max; }

}  // namespace smokedrift
