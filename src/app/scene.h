#pragma once
// The scene of one saver window: every object the frames draw, the values the configuration
// writes, and the frame counter, in one object with start, frame, resize and release.
#include "animation/oscillator.h"
#include "animation/sprite.h"
#include "app/feedback_cycle.h"
#include "app/frame_clock.h"
#include "app/scene_options.h"
#include "app/scene_settings.h"
#include "geometry/billboard.h"
#include "lighting/fog_settings.h"
#include "lighting/light.h"
#include "lighting/material_settings.h"
#include "particles/particle_system.h"
#include "particles/star_field.h"
#include "textures/texture.h"
#include "view/feedback_effect.h"
#include "view/render_scale.h"
#include "view/screen_layout.h"

namespace smokedrift {

constexpr int TEXTURE_SLOTS = 20;

// The first frames only clear colour and depth; the clock and the animation start after them.
constexpr int CLEARING_FRAMES = 2;
// The number renderFrame gives the first frame that draws the scene.
constexpr int FIRST_DRAWN_FRAME = CLEARING_FRAMES + 1;

class Scene {
public:
    Scene() = default;
    virtual ~Scene() = default;
    // Members point at each other (oscillators at the speeds, the effect at the layout).
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // With the context current: sizes the layout to the window, configures the scene and draws
    // the first fade.
    void initScene(int width, int height);
    // Writes every tunable value of the scene, in a fixed order, and builds what needs a context.
    void configureScene();
    // Draws one frame over the last one, at 1/drawDivisor of the window's size when that is above 1.
    // False when `interrupted` said so part-way: the frame is left unfinished, not to be shown.
    bool renderFrame();
    // The window's new client size, taken at the next frame.
    void resize(int width, int height);
    // Deletes the OpenGL objects the scene made (textures, the star list); context still current.
    void release();

    // The steps of renderFrame.
    void updateAnimation();
    void spritePass();
    void pass3D();
    void backgroundPass();
    // Moves the current viewport's camera (viewport 1 drifts and turns with the scene
    // oscillators) and loads its view.
    void updateCamera();

    // Scene-state operations over the state switches; no pass of the frame loop calls them.
    void applyStateSwitches();
    void clearStateSwitches();

    // Declared in construction order: the oscillators and sprites draw their random start values
    // while they are constructed, so this order gives the same start on every run.
    FogSettings fogSettings;
    Light sceneLight;
    ScreenLayout screenLayout;
    FeedbackEffect feedbackEffect;
    StarField starField;
    ParticleSystem particleSystem;
    FrameClock frameClock;
    Billboard glowQuad;
    Oscillator driftX, driftY, driftZ, turnX, turnY, turnZ, bandOscillator;
    MaterialSettings materialSettings;
    Texture textures[TEXTURE_SLOTS];
    Sprite sprites[MAX_SPRITES];

    SceneSettings settings;
    // What the user chose (the parts switched on, sprites, speed); set before initScene.
    SceneOptions options;
    // Calls of renderFrame so far.
    int frameCounter = 0;
    // The saver's schedule of the feedback effect, when it is on.
    FeedbackCycle feedbackCycle;
    // The divisor of the frames to come (1: full size), set by whoever drives the frames; the
    // one they are drawn at is renderScale.divisor(), which may be larger where textures are small.
    int drawDivisor = 1;
    RenderScale renderScale;
    // Asked between the parts of a frame drawn smaller, where a software renderer spends tens of
    // milliseconds: true ends the frame there (the user is back; the window is about to go).
    // Null: every frame is drawn whole, in one piece.
    bool (*interrupted)() = nullptr;

private:
    void applyPendingSize();
    void drawScene();

    int pendingWidth = -1;  // -1: no resize waiting
    int pendingHeight = -1;
};

// The saver's one scene, with static lifetime.
extern Scene scene;

// Ends `s` and constructs a fresh one in its place, as a new process would have it: the generator
// back to its unseeded state, no texture bound, an empty registry. GL names the old scene still
// held are dropped, not deleted: their context may be gone (release() deletes them while it lives).
void renewScene(Scene& s);

}  // namespace smokedrift
