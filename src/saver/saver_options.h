#pragma once
#include "app/scene_options.h"

namespace smokedrift {

// The longest pause between frames --delay takes: ten seconds.
constexpr long MAX_DELAY_MICROSECONDS = 10000000;

// What the saver window runs with; the Linux command line sets it before the host runs. Windows
// has nothing to give: the shipped scene, once per display refresh.
struct SaverOptions {
    SceneOptions scene;
    long delayMicroseconds = 0;  // the least time between two frames; 0: once per refresh
    bool delayGiven = false;     // --delay was given: it paces a software renderer too (else 30 a second)
    bool showFps = false;        // the frame rate and CPU load in the lower-left corner
    bool verbose = false;        // say on stderr which render scale the saver draws at, and why
    bool sceneless = false;      // the window stays black, without OpenGL (a Wayland output past the
                                 // number that get the scene): the host's close rules still run
};

void setSaverOptions(const SaverOptions& options);

}  // namespace smokedrift
