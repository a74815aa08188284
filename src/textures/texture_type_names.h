#pragma once
// The names of the generator's type codes: the one list that the registry's records, the
// `--texture` option, --help and the contact sheet read.
#include "textures/texture.h"

namespace smokedrift {

struct TextureTypeName {
    int code;
    const char* name;
    // Whether a generation records the name in the registry; the others record the empty text.
    bool recorded;
    // Whether the type has an image of its own; the others upload transparent black.
    bool drawn;
};

// In code order. Code 9 has no name.
inline constexpr TextureTypeName textureTypeNames[] = {
    {SPHERE, "SPHERE", true, true},
    {NOTSPHERE, "NOTSPHERE", true, true},
    {GRADIENT, "GRADIENT", true, true},
    {SMOKE, "SMOKE", true, true},
    {FOG, "FOG", true, true},
    {RING, "RING", false, true},
    {STAR, "STAR", true, true},
    {SAND, "SAND", true, true},
    {BLACK, "BLACK", false, true},
    {CHECK, "CHECK", true, true},
    {GRILLE, "GRILLE", true, true},
    {X50, "X50", true, false},
    {Y50, "Y50", true, false},
    {GRAIN, "GRAIN", true, true},
    {SOFT_SQUARE, "SOFT_SQUARE", false, true},
};

constexpr int HIGHEST_TEXTURE_TYPE = SOFT_SQUARE;

// The name a generation records for a type code, or "" for codes that record none.
constexpr const char* textureTypeName(int type) {
    for (const TextureTypeName& t : textureTypeNames)
        if (t.code == type) return t.recorded ? t.name : "";
    return "";
}

}  // namespace smokedrift
