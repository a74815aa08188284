#pragma once

namespace smokedrift {

class Camera;
class Texture;

constexpr int PARTICLE_CAPACITY = 5001;

// Up to 5001 small camera-facing squares that stay still in the world while the cloud keeps
// filling a cube centred on the camera: a particle that falls behind by more than half an edge
// on an axis is moved one edge forward. A quarter of them pulse in brightness.
// Storage is a fixed structure of arrays; nothing is allocated.
class ParticleSystem {
public:
    ParticleSystem() = default;
    virtual ~ParticleSystem() = default;

    // Caps count, places every particle and gives it a colour and a pulse.
    void init();
    void update(float dt, const Camera& camera);
    // alphaFactor multiplies opacity. Needs a current context.
    void draw(const Camera& camera, float alphaFactor);
    // Moves particles by their velocities and now and then kicks one velocity component.
    void drift(float dt, float jitter);

    int count = 100;
    int shape = 1;  // 1 cube shell, 2 upper half shell, other full spherical shell
    int alphaTest = 0;
    int blend = 1;
    int blendSource = 0;  // setBlendMode indices
    int blendDest = 0;
    int depthTest = 1;
    int depthWrite = 0;
    int fog = 0;  // read by the three-dimensional pass
    float alphaThreshold = 0.05f;
    float opacity = 1.0f;
    float boxSize = 2.0f;       // edge of the cube around the camera
    float particleSize = 0.1f;  // half edge of each square
    float innerSize = 0.0f;     // empty core at init: cube edge or sphere diameter
    float colorLow = 0.4f;
    float colorHigh = 0.9f;
    float boxMin = -1.0f;
    float boxMax = 1.0f;
    float x[PARTICLE_CAPACITY] = {};
    float y[PARTICLE_CAPACITY] = {};
    float z[PARTICLE_CAPACITY] = {};
    float red[PARTICLE_CAPACITY] = {};
    float green[PARTICLE_CAPACITY] = {};
    float blue[PARTICLE_CAPACITY] = {};
    float velocityX[PARTICLE_CAPACITY] = {};
    float velocityY[PARTICLE_CAPACITY] = {};
    float velocityZ[PARTICLE_CAPACITY] = {};
    float level[PARTICLE_CAPACITY] = {};      // brightness factor in [0, 1]
    float levelRate[PARTICLE_CAPACITY] = {};  // per second; 0 for a steady particle
    Texture* texture = nullptr;               // not owned; none draws untextured

private:
    int liveCount() const;
};

}  // namespace smokedrift
