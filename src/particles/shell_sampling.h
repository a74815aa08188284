#pragma once
// Rejection sampling of a start position inside a cube shell or a (half) spherical shell, shared
// by the star field and the particle system.

namespace smokedrift {

constexpr int SHAPE_CUBE_SHELL = 1;
constexpr int SHAPE_UPPER_HALF_SHELL = 2;

// The loops of sampleShell end only when the sampled region is not empty: the inner bound must
// stay below the outer one. Callers check this once and place nothing otherwise.
inline bool shellHasRoom(float inner, float outer) { return inner < outer; }

// `coordinate()` returns one coordinate uniform in [-outer, outer); it is called for x, then y,
// then z of each try. Cube shell: outside the open cube of half edge `inner`. Spherical shapes:
// distance in [inner, outer], and for the upper half y >= 0.
template <typename Coordinate>
void sampleShell(int shape, float inner, float outer, Coordinate coordinate, float& x, float& y, float& z) {
    if (shape == SHAPE_CUBE_SHELL) {
        x = y = z = 0;
        while (x < inner && x > -inner && y < inner && y > -inner && z < inner && z > -inner) {
            x = coordinate();
            y = coordinate();
            z = coordinate();
        }
        return;
    }
    const float inner2 = inner * inner;
    const float outer2 = outer * outer;
    for (;;) {
        x = coordinate();
        y = coordinate();
        z = coordinate();
        const float d = x * x + y * y + z * z;
        if (d < inner2 || d > outer2) continue;
        if (shape == SHAPE_UPPER_HALF_SHELL && y < 0) continue;
        return;
    }
}

}  // namespace smokedrift
