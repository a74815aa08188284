#include "app/scene_objects.h"

namespace smokedrift {

// Construction order is declaration order within this file.
ScreenLayout screenLayout;
FeedbackEffect feedbackEffect;
FrameClock frameClock;
Oscillator driftX, driftY, driftZ, turnX, turnY, turnZ, bandOscillator;
Texture textures[TEXTURE_SLOTS];
Sprite sprites[MAX_SPRITES];

}  // namespace smokedrift
