#pragma once

namespace smokedrift {

class Camera;

// A static cloud of coloured points around the viewer, generated once and compiled into one
// display list, drawn as `layers` copies turned about the vertical axis, each with a larger
// point size.
class StarField {
public:
    StarField() = default;
    virtual ~StarField();

    // Generates the stars and compiles the list; needs a current context.
    void build();
    // Draws the list, centred on the camera's position when followCamera is set.
    void draw(const Camera& camera) const;
    // Deletes the list, if any; call while the context is current.
    void release();

    unsigned displayList = 0;  // 0: none
    int count = 10;            // shared among the layers
    int shape = 1;             // 1 cube shell, 2 upper half shell, other full spherical shell
    int blend = 1;
    int depthTest = 0;
    int depthWrite = 0;
    int layers = 1;  // values below 1 count as 1
    int followCamera = 0;
    int fog = 0;             // read by the three-dimensional pass
    double outerSize = 2.0;  // cube edge; spheres have half of it as radius
    double innerSize = 0.0;  // empty core: cube edge or sphere diameter
    double colorLow = 0.3;
    double colorHigh = 0.7;
};

}  // namespace smokedrift
