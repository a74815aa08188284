#pragma once

namespace smokedrift {

class Texture;

constexpr int REGISTRY_CAPACITY = 31;
constexpr int TYPE_NAME_LENGTH = 80;

// A record of every generation, through which all generated textures can be released at once.
// The pointers refer to static textures and own nothing.
struct TextureRegistry {
    Texture* entries[REGISTRY_CAPACITY];
    char typeNames[REGISTRY_CAPACITY][TYPE_NAME_LENGTH];
    int count;
};

extern TextureRegistry textureRegistry;

// Records a generation at index `count`. Once the table is full nothing more is recorded (the
// generation itself still succeeds); returns the index taken, or -1.
int registerTexture(Texture& texture, int type);

// Completes a registration after the upload: the next generation takes the next index.
void finishRegistration();

}  // namespace smokedrift
