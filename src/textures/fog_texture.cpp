#include "textures/texture_types.h"

namespace smokedrift {

// FOG's image is not built yet: the generator leaves its pixels transparent black.
void generateFogTexture(Texture&, int) {}

}  // namespace smokedrift
