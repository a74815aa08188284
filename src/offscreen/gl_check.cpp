#include "offscreen/gl_check.h"

#include "base/gl.h"

namespace smokedrift {

namespace {

const char* errorName(GLenum e) {
    switch (e) {
    case GL_INVALID_ENUM: return "invalid enum";
    case GL_INVALID_VALUE: return "invalid value";
    case GL_INVALID_OPERATION: return "invalid operation";
    case GL_OUT_OF_MEMORY: return "out of memory";
    case GL_STACK_OVERFLOW: return "stack overflow";
    case GL_STACK_UNDERFLOW: return "stack underflow";
    default: return "error";
    }
}

}  // namespace

bool noGlError(const char* what, std::string& error) {
    std::string seen;
    // Errors queue up, one per kind; a lost context would repeat one for ever, hence the bound.
    for (int i = 0; i < 8; ++i) {
        const GLenum e = glGetError();
        if (e == GL_NO_ERROR) break;
        seen += (seen.empty() ? "" : ", ") + std::string(errorName(e));
    }
    if (seen.empty()) return true;
    error = std::string("OpenGL refused ") + what + " (" + seen + ")";
    return false;
}

int maxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

}  // namespace smokedrift
