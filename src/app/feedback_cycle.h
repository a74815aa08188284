#pragma once
// When the saver runs with the feedback effect on: now and then the picture is captured and
// shown for a while as flying tiles or as a scroll, then the smoke goes on.

namespace smokedrift {

class FeedbackEffect;
class Scene;

constexpr double FEEDBACK_FIRST = 20;   // seconds of animation before the first capture
constexpr double FEEDBACK_PERIOD = 30;  // seconds from one capture to the next
constexpr double FEEDBACK_SHOW = 6;     // seconds the captured picture is shown

struct FeedbackCycle {
    double origin = -1;  // the clock's reading when the cycle began; the clock's origin is arbitrary
    double nextCapture = FEEDBACK_FIRST;
    double showUntil = 0;
};

// Before each frame: sets the layout's effect mode for the frame to come.
void cycleFeedback(Scene& s);

// Makes the next capture scroll rather than break into tiles, up or sideways at random.
void startSlide(FeedbackEffect& effect);

}  // namespace smokedrift
