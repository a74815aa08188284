#include "view/render_scale.h"

#include "base/gl.h"

namespace smokedrift {

int scaleTextureSide(int drawnSide) {
    int side = 1;
    while (side < drawnSide + 2) side *= 2;
    return side;
}

bool scaleFits(int k, int width, int height, int maxTextureSide) {
    if (k <= 1) return true;
    const int w = drawnSide(width, k);
    const int h = drawnSide(height, k);
    return w >= 1 && h >= 1 && scaleTextureSide(w) <= maxTextureSide && scaleTextureSide(h) <= maxTextureSide;
}

int fittingScale(int k, int width, int height, int maxTextureSide) {
    if (k <= 1) return 1;
    // A larger divisor needs a smaller texture.
    for (k = k > MAX_RENDER_SCALE ? MAX_RENDER_SCALE : k; k <= MAX_RENDER_SCALE; ++k)
        if (scaleFits(k, width, height, maxTextureSide)) return k;
    return 1;
}

namespace {

// What the copies and the quads below need, whatever the scene's passes left: the texture alone
// decides each pixel. The caller keeps the enables around this with glPushAttrib.
void plainTexturedState() {
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_TEXTURE_2D);
}

// The scene's clears (depth every frame) would clear the whole window; the block is all it draws.
void clipToBlock(int w, int h) {
    glScissor(0, 0, w, h);
    glEnable(GL_SCISSOR_TEST);
}

}  // namespace

RenderScale::RenderScale() {
    // Replace: the block's colour and alpha go back exactly as they were copied.
    texture.envMode = GL_REPLACE;
    texture.wrap = GL_CLAMP;
    texture.width = 0;
    texture.height = 0;
}

int RenderScale::fitting(int k, int w, int h) {
    if (k <= 1) return 1;
    if (maxTextureSide == 0) {
        GLint side = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
        maxTextureSide = side > 0 ? side : 64;  // OpenGL 1.1 promises at least 64
    }
    return fittingScale(k, w, h, maxTextureSide);
}

void RenderScale::begin(int k, int w, int h) {
    k = fitting(k, w, h);
    if (k != current || w != width || h != height) {
        change(k, w, h);
    } else if (current > 1 && holdsPicture) {
        // The frame before, back into the block texel for pixel: nearest, so every byte comes back.
        glPushAttrib(GL_ENABLE_BIT);
        plainTexturedState();
        drawBlock(static_cast<float>(drawnW), static_cast<float>(drawnH), 0, 0, drawnW, drawnH, GL_NEAREST);
        glPopAttrib();
    }
    if (current > 1) clipToBlock(drawnW, drawnH);
}

void RenderScale::change(int k, int w, int h) {
    const int newW = drawnSide(w, k);
    const int newH = drawnSide(h, k);
    if (current > 1 && holdsPicture) {
        // The old block, resampled into the new one (the whole window when back at 1).
        glPushAttrib(GL_ENABLE_BIT);
        plainTexturedState();
        drawBlock(static_cast<float>(drawnW), static_cast<float>(drawnH), 0, 0, newW, newH, GL_LINEAR);
        glPopAttrib();
    } else if (current == 1 && k > 1 && w == width && h == height) {
        // The full-size picture, shrunk into the block. A new window size leaves nothing to keep.
        glPushAttrib(GL_ENABLE_BIT);
        plainTexturedState();
        glDisable(GL_TEXTURE_2D);
        glViewport(0, 0, w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, w, 0, h, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRasterPos2i(0, 0);
        glPixelZoom(static_cast<float>(newW) / static_cast<float>(w), static_cast<float>(newH) / static_cast<float>(h));
        glCopyPixels(0, 0, w, h, GL_COLOR);
        glPixelZoom(1, 1);
        glPopAttrib();
    }
    current = k;
    width = w;
    height = h;
    drawnW = newW;
    drawnH = newH;
    holdsPicture = false;  // the block in the frame buffer holds the picture now
    if (k == 1) {
        scaleX = scaleY = 1;
        texture.release();
        texture.width = texture.height = 0;
        return;
    }
    scaleX = static_cast<float>(newW) / static_cast<float>(w);
    scaleY = static_cast<float>(newH) / static_cast<float>(h);
    const int sideW = scaleTextureSide(newW);
    const int sideH = scaleTextureSide(newH);
    if (texture.glName != 0 && sideW == texture.width && sideH == texture.height) return;
    // Allocated here, at a change, never while frames are drawn at one size.
    texture.width = sideW;
    texture.height = sideH;
    texture.bind();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, sideW, sideH, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

bool RenderScale::end(bool (*interrupted)()) {
    if (current == 1) return true;
    glDisable(GL_SCISSOR_TEST);
    // A software renderer draws the scene when it is finished or read; the question is worth
    // asking once it has been drawn.
    if (interrupted != nullptr) {
        glFinish();
        if (interrupted()) return false;
    }
    const int w = drawnW;
    const int h = drawnH;
    texture.bind();
    // The block at (1, 1), then its outermost rows and columns once more around it, so that
    // linear filtering at the window's edges reads the edge and not texels never written.
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, 0, 0, w, h);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 1, 0, 0, 1, h);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, w + 1, 1, w - 1, 0, 1, h);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 1, 0, 0, 0, w, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 1, h + 1, 0, h - 1, w, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 1, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, w + 1, 0, w - 1, 0, 1, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, h + 1, 0, h - 1, 1, 1);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, w + 1, h + 1, w - 1, h - 1, 1, 1);
    holdsPicture = true;
    // In bands of the same quad, each cut out by the scissor, so the pixels are those of one quad.
    const long pixels = static_cast<long>(width) * height;
    int bands = 1;
    if (interrupted != nullptr && bandPixels > 0 && pixels > bandPixels)
        bands = static_cast<int>((pixels + bandPixels - 1) / bandPixels);
    glPushAttrib(GL_ENABLE_BIT);
    plainTexturedState();
    bool whole = true;
    for (int band = 0; band < bands; ++band) {
        if (bands > 1) {
            const int y0 = height * band / bands;
            glScissor(0, y0, width, height * (band + 1) / bands - y0);
            glEnable(GL_SCISSOR_TEST);
        }
        drawBlock(static_cast<float>(w), static_cast<float>(h), 0, 0, width, height, GL_LINEAR);
        if (band + 1 < bands) {
            glFinish();
            if (interrupted()) {
                whole = false;
                break;
            }
        }
    }
    glPopAttrib();
    return whole;
}

bool RenderScale::copyWindowBlock(Texture& into, int w, int h) {
    if (current == 1 || w <= 0 || h <= 0) return false;
    // Scaled up beside the block (or above it), in the part of the back buffer that end() covers
    // anyway, then copied from there.
    int x = drawnW;
    int y = 0;
    if (width - drawnW < w || height < h) {
        x = 0;
        y = drawnH;
        if (height - drawnH < h || width < w) return false;
    }
    const float blockW = static_cast<float>(w) * scaleX;
    const float blockH = static_cast<float>(h) * scaleY;
    texture.bind();
    // The frame's block as drawn so far: end() copies it again once the frame is done.
    const int copyW = static_cast<int>(blockW) + 1 < drawnW ? static_cast<int>(blockW) + 1 : drawnW;
    const int copyH = static_cast<int>(blockH) + 1 < drawnH ? static_cast<int>(blockH) + 1 : drawnH;
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, 0, 0, copyW, copyH);
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    plainTexturedState();
    drawBlock(blockW, blockH, x, y, w, h, GL_LINEAR);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    into.bind();
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, x, y, w, h, 0);
    return true;
}

void RenderScale::release() {
    texture.release();
    holdsPicture = false;
}

// Texels (1, 1) to (1 + blockW, 1 + blockH) over the window rectangle (x, y, w, h).
void RenderScale::drawBlock(float blockW, float blockH, int x, int y, int w, int h, int filter) {
    texture.bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float tw = static_cast<float>(texture.width);
    const float th = static_cast<float>(texture.height);
    const float u0 = 1 / tw;
    const float v0 = 1 / th;
    const float u1 = (1 + blockW) / tw;
    const float v1 = (1 + blockH) / th;
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    glVertex2f(0, 0);
    glTexCoord2f(u1, v0);
    glVertex2f(1, 0);
    glTexCoord2f(u1, v1);
    glVertex2f(1, 1);
    glTexCoord2f(u0, v1);
    glVertex2f(0, 1);
    glEnd();
}

}  // namespace smokedrift
