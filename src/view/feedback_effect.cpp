#include "view/feedback_effect.h"

#include <cmath>
#include <cstdint>

#include "base/gl.h"
#include "base/random.h"

namespace smokedrift {

namespace {

// One power step of a pattern: the exponent is not whole, the sum is truncated after the addition.
int addPower(int p, double lowestExponent) {
    return static_cast<int>(p + std::pow(2.0, randomUpTo(2) + lowestExponent));
}

int addPowerSteps(int p) {
    p = addPower(p, 3);
    p = addPower(p, 5);
    p = addPower(p, 7);
    return p;
}

// (0.5 to 1) × sin(a) × factor, the angle drawn before the magnitude.
float drawVelocity(double factor) {
    const float a = static_cast<float>(randomUpTo(6.283185307));
    return static_cast<float>((randomUpTo(0.5) + 0.5) * std::sin(static_cast<double>(a)) * factor);
}

// Black for the part of a capture that lies outside the window. Never written, so it stays zero.
constinit std::uint8_t blackImage[MAX_PIXELS * 4] = {};

// Width over height of the picture; 1 for a window with no height (minimised, or 0 x 0).
float aspectOf(const ScreenLayout& layout) { return layout.height > 0 ? layout.width / layout.height : 1.0f; }

int clampTiles(int n) { return n < 1 ? 1 : (n > MAX_TILES ? MAX_TILES : n); }

}  // namespace

void FeedbackEffect::fitLayoutToTexture() {
    layout->width = static_cast<float>(texture.width);
    layout->height = static_cast<float>(texture.height);
}

void FeedbackEffect::copyBlock() {
    const int tw = texture.width;
    const int th = texture.height;
    // Drawn smaller, the block is a smaller block of the back buffer: scaled up before the copy.
    if (scale != nullptr && scale->copyWindowBlock(texture, tw, th)) return;
    const int windowW = static_cast<int>(layout->windowWidth);
    const int windowH = static_cast<int>(layout->windowHeight);
    if (tw <= windowW && th <= windowH) {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, tw, th, 0);
        return;
    }
    // A window smaller than the texture (a 152 × 112 preview against 128 × 128): copying the
    // whole block would read pixels outside the window, which OpenGL leaves undefined. The image
    // gets its full size in black and only the part inside the window is copied into it.
    if (tw <= 0 || th <= 0) return;
    const void* black = static_cast<std::int64_t>(tw) * th <= MAX_PIXELS ? blackImage : nullptr;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, black);
    const int w = tw < windowW ? tw : windowW;
    const int h = th < windowH ? th : windowH;
    if (w > 0 && h > 0) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
    }
}

void FeedbackEffect::capture() {
    const float ratio = aspectOf(*layout);
    const float r = static_cast<float>(randomUpTo(1.0));
    texture.bind();
    copyBlock();
    // The copy makes level 0 only; with OpenGL's default mipmapped minification the texture
    // would be incomplete and the tiles would come out untextured white.
    Texture::setFilters(0);
    glColor3f(0, 0, 0);
    glRecti(0, 0, texture.width, texture.height);
    motionSpeed = static_cast<float>(randomUpTo(1.0) + 0.5);
    tileScale = 1;
    if (slide != 0) return;  // a scroll in progress keeps its grid

    chooseTileCounts(r);
    tileWidth = ratio / static_cast<float>(tilesX);
    tileHeight = 1.0f / static_cast<float>(tilesY);
    halfTileWidth = tileWidth * 0.5f;
    halfTileHeight = tileHeight * 0.5f;
    pattern = choosePattern();
    layOutTiles(ratio);
}

void FeedbackEffect::chooseTileCounts(float r) {
    if (nextTiles != 0) {
        // The tables hold 61 × 61 tiles; a request outside 1..61 would write past them.
        tilesX = tilesY = clampTiles(static_cast<int>(nextTiles));
        nextTiles = 0;
    } else if (r < 0.01) {
        tilesX = tilesY = 1;
    } else if (r < 0.3) {
        tilesX = tilesY = 60;
    } else if (r < 0.6) {
        tilesX = tilesY = static_cast<int>(randomUpTo(58) + 2);
    } else {
        tilesX = static_cast<int>(randomUpTo(58) + 2);
        tilesY = static_cast<int>(randomUpTo(58) + 2);
    }
}

int FeedbackEffect::choosePattern() {
    if (nextPattern != 0) {
        const int p = nextPattern;
        nextPattern = 0;
        return p;
    }
    int p = 0;
    if (tilesX == 1 && tilesY == 1) {
        // A single tile needs some motion: a zero sum becomes 3 (drift along x and y).
        p = static_cast<int>(p + randomUpTo(2));
        p = static_cast<int>(p + 2 * randomUpTo(2));
        p = static_cast<int>(p + 4 * randomUpTo(2));
        if (p == 0) p = 3;
        return addPowerSteps(p) + SPIN_X + SPIN_Y + SPIN_Z;
    }
    if (randomUpTo(1.0) < 0.75) {
        return static_cast<int>(randomUpTo(8191) + 1);
    }
    return addPowerSteps(MOVE_X | MOVE_Y | MOVE_Z) + SPIN_X + SPIN_Y + SPIN_Z;
}

void FeedbackEffect::layOutTiles(float ratio) {
    for (int i = 0; i < tilesX; ++i) {
        for (int j = 0; j < tilesY; ++j) {
            // At rest the tiles reassemble the picture.
            tileX[i][j] = static_cast<float>(i) * tileWidth + halfTileWidth - ratio * 0.5f;
            tileY[i][j] = static_cast<float>(j) * tileHeight + halfTileHeight - 0.5f;
            tileZ[i][j] = 0;
            tileVelX[i][j] = drawVelocity(0.2);
            tileVelY[i][j] = drawVelocity(0.2);
            tileVelZ[i][j] = drawVelocity(0.1);
            tileAngleX[i][j] = tileAngleY[i][j] = tileAngleZ[i][j] = 0;
            tileSpinX[i][j] = static_cast<float>(randomUpTo(200) - 100);
            tileSpinY[i][j] = static_cast<float>(randomUpTo(200) - 100);
            tileSpinZ[i][j] = static_cast<float>(randomUpTo(200) - 100);
        }
    }
}

void FeedbackEffect::drawExploded(float dt) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A 90-degree field of view at distance 0.5: the picture plane, one unit high, fills the view.
    gluPerspective(90, aspectOf(*layout), 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 0.5, 0, 0, 0, 0, 1, 0);
    drawTiles(dt);
}

// Position moves before velocity changes, so a push takes effect from the next call on.
void FeedbackEffect::moveTile(int i, int j, float s) {
    const int p = pattern;
    if (p & MOVE_X) tileX[i][j] += s * tileVelX[i][j];
    if (p & MOVE_Y) tileY[i][j] += s * tileVelY[i][j];
    if (p & MOVE_Z) tileZ[i][j] += s * tileVelZ[i][j];
    if (p & PUSH_LEFT) tileVelX[i][j] -= s;
    if (p & PUSH_RIGHT) tileVelX[i][j] += s;
    if (p & PUSH_DOWN) tileVelY[i][j] -= s;
    if (p & PUSH_UP) tileVelY[i][j] += s;
    if (p & PUSH_AWAY) tileVelZ[i][j] -= 0.5f * s;
    if (p & PUSH_NEAR) tileVelZ[i][j] += 0.5f * s;
    if (p & SPIN_X) tileAngleX[i][j] += s * tileSpinX[i][j];
    if (p & SPIN_Y) tileAngleY[i][j] += s * tileSpinY[i][j];
    if (p & SPIN_Z) tileAngleZ[i][j] += s * tileSpinZ[i][j];
}

void FeedbackEffect::drawTiles(float dt) {
    glColor4f(1, 1, 1, 1);
    texture.bind();
    if (slide != 0) {
        drawSlide(dt);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    const float s = dt * motionSpeed;
    const float du = 1.0f / static_cast<float>(tilesX);
    const float dv = 1.0f / static_cast<float>(tilesY);
    if (pattern & SHRINK) {
        tileScale = tileScale - dt * 0.25f;
        if (tileScale < 0) tileScale = 0;
    }
    const float hw = halfTileWidth * tileScale;
    const float hh = halfTileHeight * tileScale;
    // Counts set from outside are kept inside the tables.
    const int columns = clampTiles(tilesX);
    const int rows = clampTiles(tilesY);
    // Each tile is drawn from client arrays, not between glBegin and glEnd: Mesa sends the
    // immediate-mode vertices before every matrix change in a fresh 64 KiB buffer, and llvmpipe's
    // rasteriser threads keep those until the frame's scene is recycled, over 200 MB for 60 × 60
    // tiles. Arrays are read during the call, so one pair serves every tile.
    const GLfloat corners[8] = {-hw, -hh, hw, -hh, hw, hh, -hw, hh};
    GLfloat coords[8];
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const float u = static_cast<float>(i) * du;
            const float v = static_cast<float>(j) * dv;
            moveTile(i, j, s);
            glPushMatrix();
            glTranslatef(tileX[i][j], tileY[i][j], tileZ[i][j]);
            glRotatef(tileAngleX[i][j], 1, 0, 0);
            glRotatef(tileAngleY[i][j], 0, 1, 0);
            glRotatef(tileAngleZ[i][j], 0, 0, 1);
            coords[0] = u;
            coords[1] = v;
            coords[2] = u + du;
            coords[3] = v;
            coords[4] = u + du;
            coords[5] = v + dv;
            coords[6] = u;
            coords[7] = v + dv;
            glDrawArrays(GL_QUADS, 0, 4);
            glPopMatrix();
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

void FeedbackEffect::drawSlide(float dt) {
    const float ratio = aspectOf(*layout);
    glEnable(GL_TEXTURE_2D);
    // Each pass ends with even odds: the effect stops, or the scroll starts over.
    const bool vertical = slide < 1;
    slide = static_cast<float>(slide + 1.75 * dt);
    if (slide >= (vertical ? 1.0f : 2.0f)) {
        if (randomUpTo(1.0) < 0.5) {
            slide = 0;
            layout->effectMode = 0;
        } else {
            slide = vertical ? 0.01f : 1.01f;
        }
    }
    const float offset = slide * slideScale;
    glPushMatrix();
    glTranslatef(-0.5f * ratio, -0.5f, 0);
    glBegin(GL_QUADS);
    if (slide > 1) {
        glTexCoord2f(offset, 0);
        glVertex2f(0, 0);
        glTexCoord2f(1 + offset, 0);
        glVertex2f(ratio, 0);
        glTexCoord2f(1 + offset, 1);
        glVertex2f(ratio, 1);
        glTexCoord2f(offset, 1);
        glVertex2f(0, 1);
    } else {
        // The repeat wrap makes the picture wrap around.
        glTexCoord2f(0, offset);
        glVertex2f(0, 0);
        glTexCoord2f(1, offset);
        glVertex2f(ratio, 0);
        glTexCoord2f(1, 1 + offset);
        glVertex2f(ratio, 1);
        glTexCoord2f(0, 1 + offset);
        glVertex2f(0, 1);
    }
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

int FeedbackEffect::loadBlankTexture() { return texture.generate(BLACK, 256, 256, GL_RGBA, 0); }

}  // namespace smokedrift
