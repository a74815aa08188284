#include "app/scene_objects.h"

namespace smokedrift {

// Construction order is declaration order within this file.
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

}  // namespace smokedrift
