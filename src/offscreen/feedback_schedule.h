#pragma once

namespace smokedrift {

class Scene;

// Frames of flying tiles that end a render with --enable feedback.
constexpr int FEEDBACK_SHOW_FRAMES = 40;

// The frame of a render of `frames` frames that captures the picture: late enough for the scene
// to have built up, early enough to leave FEEDBACK_SHOW_FRAMES of tiles (never one of the two
// clearing frames).
int feedbackCaptureFrame(int frames);

// Sets the effect mode for frame `frame` of such a render: 0 before the capture frame, 1 in it,
// 2 after it. When the tiles start, the layout gets the window size back (the capture had fitted
// it to the texture), so the scene goes on at full size behind the flying picture.
void scheduleFeedback(Scene& s, int frame, int captureFrame);

}  // namespace smokedrift
