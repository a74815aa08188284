#pragma once

namespace smokedrift {

// Calls of renderFrame so far; the first two only clear.
extern int frameCounter;

// Draws one frame over the last one; needs the current rendering context.
void renderFrame();

void updateAnimation();
void spritePass();
void backgroundPass();

// Scene-state operations over the state switches; no pass of the frame loop calls them.
void applyStateSwitches();
void clearStateSwitches();

}  // namespace smokedrift
