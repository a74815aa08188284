// The engine's frame against the fill limit of this renderer: the same quads drawn by a minimal
// raw-GL loop with the same state and nothing else. Both run in one process on one context per
// size, so the comparison is side by side.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/frame_clock.h"
#include "app/scene_start.h"
#include "base/gl.h"
#include "base/random.h"
#include "offscreen/egl_context.h"
#include "textures/texture.h"

using namespace smokedrift;

namespace {

std::int64_t simulatedNow = 0;
std::int64_t simulatedClock() { return simulatedNow; }

// One context per size; the scene is set up in it once, as a saver window would.
struct Bench {
    EglContext context;
    int width = 0, height = 0;
};

Bench* current = nullptr;

void useSize(int width, int height) {
    if (current != nullptr && current->width == width && current->height == height) return;
    if (current != nullptr) scene.release();  // while its context lives
    delete current;
    current = new Bench;
    std::string error;
    if (!current->context.create(width, height, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    current->width = width;
    current->height = height;
    setMillisecondSource(&simulatedClock);
    startScene(scene, {width, height, 1, {}});
    for (int k = 1; k <= 60; ++k) {  // past the clearing frames, into the running picture
        simulatedNow = k * 1000 / 60;
        scene.renderFrame();
    }
    glFinish();
}

void engineFrame(benchmark::State& state) {
    useSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        simulatedNow += 16;
        scene.renderFrame();
        glFinish();
    }
}

// The same fade quad, bands and 25 sprite quads with the engine's blend, alpha-test and texture
// state, as straight-line GL with positions taken from the scene.sprites' current state.
void rawFrame(benchmark::State& state) {
    useSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const float W = static_cast<float>(current->width), H = static_cast<float>(current->height);
    const float f = scene.screenLayout.bandFraction;
    glViewport(0, 0, current->width, current->height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, W, 0, H, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (auto _ : state) {
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glColor4f(0, 0, 0, 1);
        glRectf(0, 0, W, H * f + 1);
        glRectf(0, (1 - f) * H - 1, W, H);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0, 0, 0, 0.04f);
        glRectf(0, H * f, W, (1 - f) * H - 1);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        glEnable(GL_TEXTURE_2D);
        glBlendFunc(GL_ONE_MINUS_DST_ALPHA, GL_ONE);
        for (int i = 0; i < scene.settings.spriteCount; ++i) {
            const Sprite& s = scene.sprites[i];
            const float w = s.scaleX * s.size, h = s.scaleY * s.size;
            glColor4f(s.red * s.alpha, s.green * s.alpha, s.blue * s.alpha, s.alpha);
            glPushMatrix();
            glTranslatef(W / 2 + s.x, H / 2 + s.y, 0);
            glRotatef(s.angle, 0, 0, 1);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(-w / 2, -h / 2);
            glTexCoord2f(1, 0);
            glVertex2f(w / 2, -h / 2);
            glTexCoord2f(1, 1);
            glVertex2f(w / 2, h / 2);
            glTexCoord2f(0, 1);
            glVertex2f(-w / 2, h / 2);
            glEnd();
            glPopMatrix();
        }
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_TEXTURE_2D);
        glFinish();
    }
}

}  // namespace

BENCHMARK(engineFrame)->Name("Frame/engine")->Args({640, 480})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rawFrame)->Name("Frame/raw")->Args({640, 480})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(engineFrame)->Name("Frame/engine")->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rawFrame)->Name("Frame/raw")->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(engineFrame)->Name("Frame/engine")->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rawFrame)->Name("Frame/raw")->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
