#include "textures/texture_registry.h"

#include <cstring>

#include "textures/texture.h"

namespace smokedrift {

constinit TextureRegistry textureRegistry{};

const char* textureTypeName(int type) {
    switch (type) {
        case SPHERE: return "SPHERE";
        case NOTSPHERE: return "NOTSPHERE";
        case GRADIENT: return "GRADIENT";
        case SMOKE: return "SMOKE";
        case FOG: return "FOG";
        case STAR: return "STAR";
        case SAND: return "SAND";
        case CHECK: return "CHECK";
        case GRILLE: return "GRILLE";
        case X50: return "X50";
        case Y50: return "Y50";
        case GRAIN: return "GRAIN";
        default: return "";
    }
}

int registerTexture(Texture& texture, int type) {
    const int index = textureRegistry.count;
    if (index < 0 || index >= REGISTRY_CAPACITY) {
        return -1;  // a full table records nothing more; writing past it would corrupt memory
    }
    textureRegistry.entries[index] = &texture;
    texture.registryIndex = index;
    std::strncpy(textureRegistry.typeNames[index], textureTypeName(type), TYPE_NAME_LENGTH - 1);
    textureRegistry.typeNames[index][TYPE_NAME_LENGTH - 1] = '\0';
    return index;
}

void finishRegistration() {
    if (textureRegistry.count < REGISTRY_CAPACITY) {
        ++textureRegistry.count;
    }
}

}  // namespace smokedrift
