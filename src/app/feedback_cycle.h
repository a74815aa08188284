#pragma once
// The feedback effect's schedule, for the saver and for --render: now and then the picture is
// captured and shown for a while as flying tiles or as a scroll, then the smoke goes on. One
// order of steps for both; what differs is only when a capture is due and when the show ends:
// the saver counts seconds, a render counts frames and ends on the tiles.

namespace smokedrift {

class FeedbackEffect;
class Scene;

constexpr double FEEDBACK_FIRST = 20;   // seconds of animation before the saver's first capture
constexpr double FEEDBACK_PERIOD = 30;  // seconds from one capture to the next
constexpr double FEEDBACK_SHOW = 6;     // seconds the captured picture is shown

// Frames of flying tiles that end a render with the feedback effect on.
constexpr int FEEDBACK_SHOW_FRAMES = 40;

// What the driver's clock says before a frame.
struct FeedbackCue {
    bool captureDue = false;  // capture now, if the plain scene is showing
    bool showOver = false;    // the captured picture has been shown long enough
    // Capture into the blank 256 × 256 texture where the window holds it, not the default
    // 128 × 128 block, which is a small corner of a large window.
    bool largeBlock = false;
};

// Before each frame: sets the layout's effect mode for the frame to come. 1 captures (from mode
// 0 only, scrolling rather than breaking into tiles with FeedbackStyle::Slide); the next frame
// gets 2, the picture flying, with the layout given the window size back (the capture had fitted
// it to the texture), so the scene goes on at full size behind it; 2 lasts until the show is over
// or the effect ends itself (mode 0). True when it started a capture.
bool stepFeedback(Scene& s, const FeedbackCue& cue);

// The saver's clock, in Scene::feedbackCycle: the first capture after FEEDBACK_FIRST seconds,
// then one every FEEDBACK_PERIOD, each shown for FEEDBACK_SHOW.
struct FeedbackCycle {
    double origin = -1;  // the clock's reading when the cycle began; the clock's origin is arbitrary
    double nextCapture = FEEDBACK_FIRST;
    double showUntil = 0;
};

// The saver, before each frame.
void cycleFeedback(Scene& s);

// The frame of a render of `frames` frames that captures the picture: late enough for the scene
// to have built up, early enough to leave FEEDBACK_SHOW_FRAMES of tiles (never one of the two
// clearing frames).
int feedbackCaptureFrame(int frames);

// Makes the next capture scroll rather than break into tiles, up or sideways at random.
void startSlide(FeedbackEffect& effect);

}  // namespace smokedrift
