#include "textures/texture.h"

#include "base/gl.h"
#include "textures/texture_registry.h"

namespace smokedrift {

namespace {
constexpr std::uint32_t NO_TEXTURE_BOUND = 0xffffffffu;
}  // namespace

constinit std::uint32_t boundTextureName = NO_TEXTURE_BOUND;
constinit float envColor[4] = {1, 1, 1, 1};

void resetTextureState() {
    boundTextureName = NO_TEXTURE_BOUND;
    envColor[0] = envColor[1] = envColor[2] = envColor[3] = 1;
    textureRegistry = TextureRegistry{};
}

Texture::Texture()
    : glName(0),
      format(GL_RGBA),
      wrap(GL_REPEAT),
      envMode(GL_MODULATE),
      width(128),
      height(128),
      blobCount(100),
      blobRadius(12),
      registryIndex(-1) {
    // Every construction resets the shared state; all textures are static and built before
    // anything is generated, so in practice this initialises it once. The count is kept.
    envColor[0] = envColor[1] = envColor[2] = envColor[3] = 1;
    for (int i = 0; i < REGISTRY_CAPACITY; ++i) {
        textureRegistry.entries[i] = nullptr;
        textureRegistry.typeNames[i][0] = '\0';
    }
}

Texture::~Texture() {
    if (glName != 0) {
        glDeleteTextures(1, &glName);
    }
}

void Texture::bind() {
    if (glName == 0) {
        glGenTextures(1, &glName);
    }
    // A pass that draws many objects with one texture pays for one bind.
    if (glName == boundTextureName) {
        return;
    }
    boundTextureName = glName;
    glBindTexture(GL_TEXTURE_2D, glName);
    if (wrap != 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    }
    if (envMode != 0) {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(envMode));
    }
    if (envMode == GL_BLEND) {
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColor);
    }
}

void Texture::release() {
    if (glName == 0) return;
    glDeleteTextures(1, &glName);
    // OpenGL unbinds a deleted texture; the cache must not claim a name it may hand out again.
    if (boundTextureName == glName) boundTextureName = NO_TEXTURE_BOUND;
    glName = 0;
}

void Texture::setFilters(int mipmapped) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR);
}

void Texture::releaseAll() {
    for (int i = 0; i < textureRegistry.count && i < REGISTRY_CAPACITY; ++i) {
        Texture* t = textureRegistry.entries[i];
        if (t != nullptr && t->glName != 0) {
            glDeleteTextures(1, &t->glName);
        }
    }
}

}  // namespace smokedrift
