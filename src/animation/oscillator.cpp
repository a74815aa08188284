#include "animation/oscillator.h"

#include <cmath>

#include "base/random.h"

namespace smokedrift {

Oscillator::Oscillator() {
    // The draw order is part of the scene's reproducible start: level, velocity, phase.
    level = randomUpTo(2.0);
    levelVelocity = randomUpTo(1.0);
    phase = randomUpTo(6.28);
}

void Oscillator::update(double step) {
    // Only a resting oscillator may start a change, and only it draws a number.
    if (level == 0.0 || level == 1.0) {
        const double r = randomUpTo(1.0);
        if (r < 0.0001) {
            levelVelocity = (level == 1.0) ? -0.1 * step : 0.1 * step;
        }
    }
    level = step * levelVelocity + level;
    if (levelVelocity < 0.0 && level < 0.05) {
        level = 0.0;
        levelVelocity = 0.0;
    } else if (levelVelocity > 0.0 && level > 1.0) {
        level = 1.0;
        levelVelocity = 0.0;
    }
    const double speed = speedSource ? *speedSource : 1.0;
    phase = level * gain * step * speed * frequency + phase;
}

double Oscillator::value() const { return (std::cos(phase) * 0.5 + 0.5) * scale + offset; }

double Oscillator::cosine() const { return std::cos(phase); }

double Oscillator::unitCosine() const { return std::cos(phase) * 0.5 + 0.5; }

}  // namespace smokedrift
