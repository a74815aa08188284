#pragma once

namespace smokedrift {

constexpr int BLEND_SOURCE_FACTORS = 9;
constexpr int BLEND_DEST_FACTORS = 8;

// glBlendFunc with one entry of each of two fixed factor tables (sprites, particles and the
// state switches name their blending by these indices). Indices outside the tables are ignored.
void setBlendMode(int sourceIndex, int destIndex);

}  // namespace smokedrift
