#pragma once

namespace smokedrift {

// Start-up milestones, for measuring the road to the first frame. Off unless the environment
// variable SMOKEDRIFT_TRACE_STARTUP is set; then the first finished frame prints one line to stderr
// with the milliseconds from process start to each milestone. Costs nothing when off.
enum class StartupMark { ContextReady, TextureStart, TextureDone, SceneReady, FirstFrame, Count };

void markStartup(StartupMark mark);

}  // namespace smokedrift
