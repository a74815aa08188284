#pragma once
// The image rules of the generator's types. Each writes the image into the scratch buffer.
#include "textures/texture.h"

namespace smokedrift {

// bell-shaped draw: mean 0, standard deviation about sigma, within ±3 × 1.414 × sigma.
float randomGaussian(float sigma);

// SMOKE: soft cones scattered about the centre, summed and scaled so the densest pixel is 255.
void generateSmoke(Texture& texture, int bytes);

// The rule as first written: one square root per pixel and blob. Kept as the reference the
// faster generator is checked against.
void generateSmokeReference(Texture& texture, int bytes);

// FOG: the wrapped distance to 90 random points, summed and normalised; tiles seamlessly.
void generateFogTexture(Texture& texture, int bytes);

// The per-pixel rules: fills the four channel values of pixel (x, y) and returns true, or
// returns false for a type without an image.
bool computePixel(int type, int x, int y, float fx, float fy, int width, int height, float rgba[4]);

}  // namespace smokedrift
