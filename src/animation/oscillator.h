#pragma once

namespace smokedrift {

// A cosine-driven scalar whose phase speed is scaled by an activity level that now and then
// fades out to a standstill and later fades back in, so motion wanders instead of looping.
class Oscillator {
public:
    Oscillator();
    virtual ~Oscillator() = default;

    void update(double step);
    double value() const;
    double cosine() const;      // cos(phase), without scale and offset
    double unitCosine() const;  // cos(phase) mapped into [0, 1]

    double phase;
    double gain = 1.0;
    double level;
    double levelVelocity;
    double frequency = 1.0;
    const double* speedSource = nullptr;  // shared speed factor; null means 1; not owned
    double scale = 0.5;
    double offset = 0.5;
};

}  // namespace smokedrift
