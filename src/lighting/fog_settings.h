#pragma once

namespace smokedrift {

// Linear fixed-function fog. apply() loads the parameters; whether GL_FOG is on is decided by
// the three-dimensional pass, per drawn object.
class FogSettings {
public:
    FogSettings() = default;
    virtual ~FogSettings() = default;

    void setColor(float red, float green, float blue, float alpha);  // sends nothing
    void apply() const;                                              // does not enable GL_FOG

    float color[4] = {0, 0, 0, 1};
    float start = 0.2f;
    float end = 2.0f;
};

}  // namespace smokedrift
