#pragma once
// The global scene objects. They live in one translation unit so that they are constructed in
// a fixed order: oscillators and sprites draw random numbers while they are constructed.
#include "animation/oscillator.h"
#include "animation/sprite.h"
#include "app/frame_clock.h"
#include "textures/texture.h"
#include "view/feedback_effect.h"
#include "view/screen_layout.h"

namespace smokedrift {

constexpr int TEXTURE_SLOTS = 20;

extern ScreenLayout screenLayout;
extern FeedbackEffect feedbackEffect;
extern FrameClock frameClock;
extern Oscillator driftX, driftY, driftZ, turnX, turnY, turnZ, bandOscillator;
extern Texture textures[TEXTURE_SLOTS];
extern Sprite sprites[MAX_SPRITES];

}  // namespace smokedrift
