#include "particles/particle_system.h"

#include "base/blend_mode.h"
#include "base/gl.h"
#include "base/random.h"
#include "particles/shell_sampling.h"
#include "textures/texture.h"
#include "view/camera.h"

namespace smokedrift {

namespace {

double powerRandom2() {
    const double r = randomUpTo(1.0);
    return r * r;
}

int signOf(float v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// One step back inside [c + lo, c + hi] at most, per axis and update.
void wrapAxis(float& p, float c, float lo, float hi, float edge) {
    if (p > c + hi) {
        p -= edge;
    } else if (p < c + lo) {
        p += edge;
    }
}

}  // namespace

int ParticleSystem::liveCount() const {
    // The arrays hold PARTICLE_CAPACITY; a count set past it without init must not run over.
    if (count < 0) return 0;
    return count > PARTICLE_CAPACITY ? PARTICLE_CAPACITY : count;
}

void ParticleSystem::init() {
    const float m = boxSize * 0.5f;
    if (count >= PARTICLE_CAPACITY) count = PARTICLE_CAPACITY;
    if (boxSize * 0.9 < innerSize) innerSize = static_cast<float>(boxSize * 0.9);
    const float l = innerSize * 0.5f + 0.01f;
    // A box too small for its core has nowhere to put a particle: none, not a hang.
    if (!shellHasRoom(l, m)) {
        count = 0;
        return;
    }
    const auto coordinate = [m] { return static_cast<float>((randomUpTo(2.0) - 1) * m); };
    for (int i = 0; i < liveCount(); ++i) {
        sampleShell(shape, l, m, coordinate, x[i], y[i], z[i]);
        const bool dim = randomUpTo(1.0) < 0.1;
        const double base = dim ? colorLow : colorHigh;
        const double spread = dim ? colorHigh : colorLow;
        red[i] = static_cast<float>(base + randomUpTo(spread));
        green[i] = static_cast<float>(base + randomUpTo(spread));
        blue[i] = static_cast<float>(base + randomUpTo(spread));
        if (randomUpTo(1.0) < 0.25) {
            const double bias = powerRandom2();
            levelRate[i] = static_cast<float>(randomUpTo(20.0) * bias + 0.5);
        } else {
            levelRate[i] = 0;
        }
        level[i] = 1.0f;
    }
}

void ParticleSystem::update(float dt, const Camera& camera) {
    const int n = liveCount();
    if (n == 0) return;
    boxMax = boxSize * 0.5f;
    boxMin = -boxMax;
    const float edge = 2 * boxMax;
    const Vector3& c = camera.body.position;
    for (int i = 0; i < n; ++i) {
        wrapAxis(x[i], c.x, boxMin, boxMax, edge);
        wrapAxis(y[i], c.y, boxMin, boxMax, edge);
        wrapAxis(z[i], c.z, boxMin, boxMax, edge);
    }
    for (int i = 0; i < n; ++i) {
        if (levelRate[i] == 0) continue;
        level[i] += dt * levelRate[i];
        const int sign = signOf(levelRate[i]);
        if (sign == -1 && level[i] < 0) {
            level[i] = 0;
            levelRate[i] = -levelRate[i];
        } else if (sign == 1 && level[i] > 1) {
            level[i] = 1;
            levelRate[i] = -levelRate[i];
        }
    }
}

void ParticleSystem::draw(const Camera& camera, float alphaFactor) {
    if (alphaTest) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, alphaThreshold);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    const int n = liveCount();
    if (n == 0) return;
    if (blend) {
        setBlendMode(blendSource, blendDest);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
    if (texture != nullptr) {
        glEnable(GL_TEXTURE_2D);
        texture->bind();
    }
    float r[3], u[3];
    for (int k = 0; k < 3; ++k) {
        r[k] = particleSize * camera.viewRight[k];
        u[k] = particleSize * camera.viewUp[k];
    }
    const float alpha = alphaFactor * opacity;
    glBegin(GL_QUADS);
    for (int i = 0; i < n; ++i) {
        glColor4f(red[i] * level[i], green[i] * level[i], blue[i] * level[i], alpha);
        glTexCoord2f(0, 0);
        glVertex3f(x[i] - r[0] - u[0], y[i] - r[1] - u[1], z[i] - r[2] - u[2]);
        glTexCoord2f(1, 0);
        glVertex3f(x[i] + r[0] - u[0], y[i] + r[1] - u[1], z[i] + r[2] - u[2]);
        glTexCoord2f(1, 1);
        glVertex3f(x[i] + r[0] + u[0], y[i] + r[1] + u[1], z[i] + r[2] + u[2]);
        glTexCoord2f(0, 1);
        glVertex3f(x[i] - r[0] + u[0], y[i] - r[1] + u[1], z[i] - r[2] + u[2]);
    }
    glEnd();
    if (alphaTest) glDisable(GL_ALPHA_TEST);
    if (blend) glDisable(GL_BLEND);
    if (depthTest) glDisable(GL_DEPTH_TEST);
    if (depthWrite) glDepthMask(GL_FALSE);
    if (texture != nullptr) glDisable(GL_TEXTURE_2D);
}

void ParticleSystem::drift(float dt, float jitter) {
    const int n = liveCount();
    if (n == 0) return;
    float* velocity[3] = {velocityX, velocityY, velocityZ};
    for (int i = 0; i < n; ++i) {
        x[i] += dt * velocityX[i];
        y[i] += dt * velocityY[i];
        z[i] += dt * velocityZ[i];
        // About one kick per second.
        if (randomUpTo(1.0) < dt) {
            const int k = static_cast<int>(randomUpTo(3.0));
            velocity[k][i] = static_cast<float>(randomUpTo(jitter) - jitter / 2);
        }
    }
}

}  // namespace smokedrift
