// GL entry points the feedback effect needs beyond the common recording set.
#include <GL/gl.h>

#include "recording_gl.h"

namespace {

// The client arrays a glDrawArrays reads: two-component floats, tightly packed or with a stride.
struct ClientArray {
    bool enabled = false;
    GLint size = 0;
    GLsizei stride = 0;
    const GLfloat* data = nullptr;
    const GLfloat* at(GLint i) const {
        const GLsizei step = stride != 0 ? stride : static_cast<GLsizei>(size * sizeof(GLfloat));
        return reinterpret_cast<const GLfloat*>(reinterpret_cast<const char*>(data) + i * step);
    }
};

ClientArray vertexArray, texCoordArray;

ClientArray* arrayOf(GLenum which) {
    if (which == GL_VERTEX_ARRAY) return &vertexArray;
    if (which == GL_TEXTURE_COORD_ARRAY) return &texCoordArray;
    return nullptr;
}

void point(ClientArray& a, GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    a.size = size;
    a.stride = stride;
    a.data = type == GL_FLOAT ? static_cast<const GLfloat*>(data) : nullptr;
}

}  // namespace

extern "C" {

void glRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    recgl::record("glRecti", {double(x1), double(y1), double(x2), double(y2)});
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    point(vertexArray, size, type, stride, data);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data) {
    point(texCoordArray, size, type, stride, data);
}

void glEnableClientState(GLenum which) {
    recgl::record("glEnableClientState", {double(which)});
    if (ClientArray* a = arrayOf(which)) a->enabled = true;
}

void glDisableClientState(GLenum which) {
    recgl::record("glDisableClientState", {double(which)});
    if (ClientArray* a = arrayOf(which)) a->enabled = false;
}

// Recorded as the draw followed by what immediate mode would have sent for each vertex, read
// from the arrays as they are at the call, as OpenGL reads them.
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    recgl::record("glDrawArrays", {double(mode), double(first), double(count)});
    for (GLint i = first; i < first + count; ++i) {
        if (texCoordArray.enabled && texCoordArray.data != nullptr && texCoordArray.size == 2) {
            const GLfloat* t = texCoordArray.at(i);
            recgl::record("glTexCoord2f", {t[0], t[1]});
        }
        if (vertexArray.enabled && vertexArray.data != nullptr && vertexArray.size == 2) {
            const GLfloat* v = vertexArray.at(i);
            recgl::record("glVertex2f", {v[0], v[1]});
        }
    }
}

}  // extern "C"
