#include "app/feedback_cycle.h"

#include "app/scene.h"
#include "base/random.h"

namespace smokedrift {

void startSlide(FeedbackEffect& effect) {
    // A slide in progress keeps the capture from laying out tiles; 0.01 scrolls up, 1.01 sideways.
    effect.slide = randomUpTo(1.0) < 0.5 ? 0.01f : 1.01f;
}

bool stepFeedback(Scene& s, const FeedbackCue& cue) {
    ScreenLayout& layout = s.screenLayout;
    if (layout.effectMode == 1) {
        layout.effectMode = 2;  // captured last frame: now the picture flies
        layout.width = layout.windowWidth;
        layout.height = layout.windowHeight;
        return false;
    }
    if (layout.effectMode == 2 && cue.showOver) {
        layout.effectMode = 0;
        s.feedbackEffect.slide = 0;
    }
    if (layout.effectMode != 0 || !cue.captureDue) return false;
    if (cue.largeBlock && layout.windowWidth >= 256 && layout.windowHeight >= 256) {
        s.feedbackEffect.loadBlankTexture();
    }
    if (s.options.feedback == FeedbackStyle::Slide) startSlide(s.feedbackEffect);
    layout.effectMode = 1;
    return true;
}

void cycleFeedback(Scene& s) {
    FeedbackCycle& c = s.feedbackCycle;
    if (c.origin < 0) c.origin = s.frameClock.currentTime;
    const double now = s.frameClock.currentTime - c.origin;
    // Never before the first frame that draws the scene has been drawn.
    const bool due = now >= c.nextCapture && s.frameCounter >= FIRST_DRAWN_FRAME;
    if (stepFeedback(s, {due, now >= c.showUntil, false})) {
        c.showUntil = now + FEEDBACK_SHOW;
        c.nextCapture = now + FEEDBACK_PERIOD;
    }
}

int feedbackCaptureFrame(int frames) {
    const int frame = frames - FEEDBACK_SHOW_FRAMES;
    return frame < FIRST_DRAWN_FRAME ? FIRST_DRAWN_FRAME : frame;
}

}  // namespace smokedrift
