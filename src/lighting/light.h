#pragma once

namespace smokedrift {

constexpr int MAX_LIGHTS = 8;

// A colour kept as red, blue, green in memory; code names the components, never the order.
struct ColorRBG {
    float red = 1;
    float blue = 1;
    float green = 1;
};

// One fixed-function light: which of the eight, where it stands, its spot direction, its colour.
class Light {
public:
    Light() = default;
    virtual ~Light() = default;

    void apply();   // sends position (from location) and spot direction
    void enable();  // apply, then switch the light on
    void moveTo(float x, float y, float z);
    // A small sphere of the light's colour at its location, radius `size`.
    void drawMarker() const;
    // GL_LIGHT0 + index; 0 for an index outside 0 to 7, which every operation then skips.
    unsigned glLight() const;

    int index = 0;
    float size = 1.0f;  // marker radius; also the glow billboard's half extents
    float position[4] = {0, 0, 0, 1};
    float spotDirection[4] = {0, 0, 0, 1};
    float location[3] = {1, 1, 1};
    ColorRBG color;
};

}  // namespace smokedrift
