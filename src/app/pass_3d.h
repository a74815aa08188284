#pragma once

namespace smokedrift {

// Moves the current viewport's camera (viewport 1 drifts and turns with the scene oscillators)
// and loads its view onto the identity modelview matrix the projection left.
void updateCamera();

// The three-dimensional pass for the viewport selected last: camera, stars, particles, each
// object with fog only when fogEnabled and its own fog flag are both set.
void pass3D();

// At window destruction, while the context is still current: deletes the star field's display
// list when stars are on.
void releaseStarField();

}  // namespace smokedrift
