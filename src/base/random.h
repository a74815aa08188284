#pragma once
// The process-wide 15-bit random source. Our own generator, so that every platform draws the
// same sequence (the C library's rand differs between runtimes).
#include <cstdint>

namespace smokedrift {

constexpr int RANDOM_MAX = 32767;

// Sets the generator state; the saver does this once, when its rendering context is created.
void seedRandom(std::uint32_t seed);

// Back to the state before any seeding, in which the scene's objects draw their start values.
void resetRandom();

// Next raw output in [0, RANDOM_MAX].
int nextRandom();

// nextRandom() / 32768 × max: uniform in [0, max) for positive max.
double randomUpTo(double max);
float randomUpToF(float max);

}  // namespace smokedrift
