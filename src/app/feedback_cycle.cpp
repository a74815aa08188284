#include "app/feedback_cycle.h"

#include "app/scene.h"
#include "base/random.h"

namespace smokedrift {

void startSlide(FeedbackEffect& effect) {
    // A slide in progress keeps the capture from laying out tiles; 0.01 scrolls up, 1.01 sideways.
    effect.slide = randomUpTo(1.0) < 0.5 ? 0.01f : 1.01f;
}

void cycleFeedback(Scene& s) {
    ScreenLayout& layout = s.screenLayout;
    FeedbackCycle& c = s.feedbackCycle;
    if (c.origin < 0) c.origin = s.frameClock.currentTime;
    const double now = s.frameClock.currentTime - c.origin;
    if (layout.effectMode == 1) {
        layout.effectMode = 2;  // captured last frame: now the picture flies
        layout.width = layout.windowWidth;
        layout.height = layout.windowHeight;
        return;
    }
    if (layout.effectMode == 2 && now >= c.showUntil) {
        layout.effectMode = 0;
        s.feedbackEffect.slide = 0;
    }
    if (layout.effectMode == 0 && now >= c.nextCapture && s.frameCounter >= FIRST_DRAWN_FRAME) {
        if (s.options.feedback == FeedbackStyle::Slide) startSlide(s.feedbackEffect);
        layout.effectMode = 1;
        c.showUntil = now + FEEDBACK_SHOW;
        c.nextCapture = now + FEEDBACK_PERIOD;
    }
}

}  // namespace smokedrift
