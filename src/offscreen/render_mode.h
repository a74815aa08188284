#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "offscreen/render_options.h"

namespace smokedrift {

// Exit codes of the render mode.
constexpr int RENDER_OK = 0;
constexpr int RENDER_FAILED = 2;

// The rate of the simulated clock a render's frames follow.
constexpr int SIMULATED_FRAMES_PER_SECOND = 60;

// The simulated millisecond counter render mode drives the frame clock with: 0 when the scene
// starts its clock, trunc(k × 1000 / SIMULATED_FRAMES_PER_SECOND) at frame k (the first timer
// tick is frame 1).
std::int64_t simulatedMilliseconds();
void setSimulatedFrame(int frame);

// Starts the saver's scene in the current context exactly as a saver window does (seeded with
// options.seed) and renders options.frames frames; the colour buffer then holds the last one.
// The caller releases the scene while the context lives.
void renderScene(const RenderOptions& options);

// Reads the colour buffer back as RGB rows, top row first.
std::vector<std::uint8_t> readFrameRgb(int width, int height);

// `smokedrift --render ...`: parses, renders headless and writes the PNG. Prints one line to
// stderr and returns RENDER_FAILED on any failure.
int runRenderMode(const std::vector<std::string>& args);

}  // namespace smokedrift
