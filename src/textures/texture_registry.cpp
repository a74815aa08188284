#include "textures/texture_registry.h"

#include <cstring>

#include "textures/texture.h"
#include "textures/texture_type_names.h"

namespace smokedrift {

constinit TextureRegistry textureRegistry{};

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
