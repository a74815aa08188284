#pragma once
// How often the saver window draws: at most 60 frames a second, whatever the timer's rate.
#include "platform/win32_api.h"

namespace smokedrift {

// Where the swap interval waits for a display refresh the swap paces the frames, and this never
// holds one back; where swaps return at once (Xvfb, VNC, many virtual machines) a frame costs
// less than a refresh and the 5 ms timer would draw one per tick, for nothing the eye can see.
// The scene moves by elapsed time, so a skipped tick changes no speed.
class FramePacer {
public:
    // Starts over: the next tick draws.
    void restart() { started = false; }

    // Whether the tick at `now` (GetTickCount) draws; counts it as drawn when it does.
    bool frameDue(DWORD now);

private:
    bool started = false;
    DWORD lastFrame = 0;
    DWORD owedThirds = 0;  // time past the last frame's 1/60 s that counts towards the next
};

}  // namespace smokedrift
