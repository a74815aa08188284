// The engine's own CPU work per frame: the shipped scene's frame with every GL call going to the
// recording GL with recording off (the calls cost a function call each and the matrix calls their
// arithmetic, nothing else), so what is left is the engine's update and call issue.
#include <benchmark/benchmark.h>

#include "app/frame_clock.h"
#include "app/scene.h"
#include "base/random.h"
#include "recording_gl.h"

using namespace smokedrift;

namespace {

std::int64_t simulatedNow = 0;
std::int64_t simulatedClock() { return simulatedNow; }

void shippedFrameCpu(benchmark::State& state) {
    setMillisecondSource(&simulatedClock);
    seedRandom(1);
    scene.initScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    recgl::setRecording(false);
    for (auto _ : state) {
        simulatedNow += 16;
        scene.renderFrame();
    }
    recgl::setRecording(true);
}

}  // namespace

BENCHMARK(shippedFrameCpu)->Name("FrameCpu/shipped")->Args({1280, 720})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
