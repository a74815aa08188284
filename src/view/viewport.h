#pragma once
#include "view/camera.h"

namespace smokedrift {

// A rectangle of the window given as fractions of its area; the area is the whole window or,
// when letterboxed, the window less the two bands.
class Viewport {
public:
    Viewport();
    virtual ~Viewport() = default;

    void setRelativeRect(double l, double b, double r, double t);
    void setArea(double l, double b, double r, double t);
    void updatePixelRect();
    void applyViewport() const;
    // The same rectangle in a frame drawn smaller, its window pixels times (sx, sy): each edge is
    // rounded on its own, so viewports that meet in the window still meet.
    void applyViewportScaled(float sx, float sy) const;
    void applyOverlayProjection() const;

    Camera camera;
    int letterboxed = 0;
    float relLeft = 0, relBottom = 0, relRight = 1, relTop = 1;
    float pixelLeft = 0, pixelBottom = 0, pixelRight = 0, pixelTop = 0;
    float pixelWidth = 0, pixelHeight = 0;
    float areaLeft = 0, areaBottom = 0, areaRight = 100, areaTop = 100;
    float areaWidth = 0, areaHeight = 0;
};

}  // namespace smokedrift
