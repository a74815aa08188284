#include "offscreen/feedback_schedule.h"

#include "app/feedback_cycle.h"
#include "app/scene.h"

namespace smokedrift {

int feedbackCaptureFrame(int frames) {
    const int frame = frames - FEEDBACK_SHOW_FRAMES;
    return frame < FIRST_DRAWN_FRAME ? FIRST_DRAWN_FRAME : frame;
}

void scheduleFeedback(Scene& s, int frame, int captureFrame) {
    ScreenLayout& screenLayout = s.screenLayout;
    if (frame < captureFrame) {
        screenLayout.effectMode = 0;
    } else if (frame == captureFrame) {
        // The default 128 × 128 block is a small corner of a large window; the blank 256 × 256
        // texture takes in more of the picture wherever the window can hold it.
        if (screenLayout.windowWidth >= 256 && screenLayout.windowHeight >= 256) {
            s.feedbackEffect.loadBlankTexture();
        }
        if (s.options.feedback == FeedbackStyle::Slide) startSlide(s.feedbackEffect);
        screenLayout.effectMode = 1;
    } else if (frame == captureFrame + 1) {
        screenLayout.effectMode = 2;
        screenLayout.width = screenLayout.windowWidth;
        screenLayout.height = screenLayout.windowHeight;
    }
    // Later frames keep whatever the effect left: it may end itself (mode 0).
}

}  // namespace smokedrift
