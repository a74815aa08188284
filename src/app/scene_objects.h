#pragma once
// The global scene objects. They live in one translation unit so that they are constructed in
// a fixed order: oscillators and sprites draw random numbers while they are constructed.
#include "animation/oscillator.h"
#include "animation/sprite.h"
#include "app/frame_clock.h"
#include "geometry/billboard.h"
#include "lighting/fog_settings.h"
#include "lighting/light.h"
#include "lighting/material_settings.h"
#include "particles/particle_system.h"
#include "particles/star_field.h"
#include "textures/texture.h"
#include "view/feedback_effect.h"
#include "view/screen_layout.h"

namespace smokedrift {

constexpr int TEXTURE_SLOTS = 20;

extern FogSettings fogSettings;
extern Light sceneLight;
extern ScreenLayout screenLayout;
extern FeedbackEffect feedbackEffect;
extern StarField starField;
extern ParticleSystem particleSystem;
extern FrameClock frameClock;
extern Billboard glowQuad;
extern Oscillator driftX, driftY, driftZ, turnX, turnY, turnZ, bandOscillator;
extern MaterialSettings materialSettings;
extern Texture textures[TEXTURE_SLOTS];
extern Sprite sprites[MAX_SPRITES];

}  // namespace smokedrift
