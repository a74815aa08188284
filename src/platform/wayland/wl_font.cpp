// Glyph lists for text on Wayland, where no server has a font to lend: the few characters the
// frame-rate line uses, 5 x 7 pixels drawn twice the size; any other character is a blank of the
// same advance.
#include <GL/gl.h>

#include "platform/wayland/wl_state.h"

namespace smokedrift::wl {

namespace {

constexpr int COLUMNS = 5;
constexpr int ROWS = 7;
constexpr int ZOOM = 2;
constexpr int ADVANCE = (COLUMNS + 1) * ZOOM;

struct Glyph {
    char character;
    unsigned char rows[ROWS];  // top row first; bit 4 is the leftmost column
};

constexpr Glyph glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}}, {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {'d', {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}},
};

const Glyph* find(DWORD character) {
    for (const Glyph& g : glyphs) {
        if (static_cast<unsigned char>(g.character) == character) return &g;
    }
    return nullptr;
}

// glBitmap's rows run bottom to top, each padded to whole bytes.
constexpr int BYTES_PER_ROW = (COLUMNS * ZOOM + 7) / 8;
using Bitmap = GLubyte[ROWS * ZOOM * BYTES_PER_ROW];

void enlarge(const Glyph& g, Bitmap& out) {
    for (GLubyte& b : out) b = 0;
    for (int row = 0; row < ROWS * ZOOM; ++row) {
        const unsigned char bits = g.rows[ROWS - 1 - row / ZOOM];
        for (int column = 0; column < COLUMNS * ZOOM; ++column) {
            if (bits & (0x10 >> (column / ZOOM))) out[row * BYTES_PER_ROW + column / 8] |= 0x80 >> (column % 8);
        }
    }
}

}  // namespace

bool fontBitmaps(DWORD first, DWORD count, DWORD listBase) {
    if (state().currentContext == EGL_NO_CONTEXT) return false;
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (DWORD i = 0; i < count; ++i) {
        Bitmap bitmap = {};
        const Glyph* g = find(first + i);
        if (g != nullptr) enlarge(*g, bitmap);
        glNewList(listBase + i, GL_COMPILE);
        glBitmap(COLUMNS * ZOOM, ROWS * ZOOM, 0, 0, ADVANCE, 0, bitmap);
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return true;
}

}  // namespace smokedrift::wl
