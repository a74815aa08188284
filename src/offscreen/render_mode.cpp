#include "offscreen/render_mode.h"

#include <cstdio>

#include "app/feedback_cycle.h"
#include "app/frame_clock.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "app/startup_trace.h"
#include "base/gl.h"
#include "offscreen/egl_context.h"
#include "offscreen/gl_check.h"
#include "offscreen/png_writer.h"

namespace smokedrift {

namespace {

constinit std::int64_t simulatedNow = 0;

}  // namespace

std::int64_t simulatedMilliseconds() { return simulatedNow; }

void setSimulatedFrame(int frame) {
    simulatedNow = static_cast<std::int64_t>(frame) * 1000 / SIMULATED_FRAMES_PER_SECOND;
}

void renderScene(const RenderOptions& options) {
    setMillisecondSource(&simulatedMilliseconds);
    setSimulatedFrame(0);
    // The seed takes the place of the saver's tick count.
    startScene(scene, {options.width, options.height, options.seed, options.scene});
    const bool feedback = (options.scene.switches & switchBit(SWITCH_FEEDBACK)) != 0;
    const int captureFrame = feedbackCaptureFrame(options.frames);
    for (int k = 1; k <= options.frames; ++k) {
        setSimulatedFrame(k);
        // One capture, FEEDBACK_SHOW_FRAMES before the end; the tiles fly to the last frame.
        if (feedback) stepFeedback(scene, {k == captureFrame, false, true});
        scene.renderFrame();
        // What a buffer swap does for a window: hand the frame to the renderer. Without it Mesa
        // keeps queuing the frames' commands, and memory grows with the frame count.
        glFlush();
        if (k == FIRST_DRAWN_FRAME) {
            glFinish();  // the first frame that draws the scene, finished
            markStartup(StartupMark::FirstFrame);
        }
    }
}

std::vector<std::uint8_t> readFrameRgb(int width, int height) {
    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> rgba(w * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // OpenGL's rows run bottom up; a PNG's top down.
    std::vector<std::uint8_t> rgb(w * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgba.data() + (static_cast<std::size_t>(height - 1 - y) * w) * 4;
        std::uint8_t* dst = rgb.data() + static_cast<std::size_t>(y) * w * 3;
        for (std::size_t x = 0; x < w; ++x) {
            dst[x * 3 + 0] = src[x * 4 + 0];
            dst[x * 3 + 1] = src[x * 4 + 1];
            dst[x * 3 + 2] = src[x * 4 + 2];
        }
    }
    return rgb;
}

int runRenderMode(const std::vector<std::string>& args) {
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(args, options, error)) {
        std::fprintf(stderr, "smokedrift: %s\n", error.c_str());
        return RENDER_FAILED;
    }
    // The destination is claimed first: refused before minutes of rendering, not after.
    OutputFile out;
    EglContext context;
    if (!out.open(options.output, error) || !context.create(options.width, options.height, error)) {
        std::fprintf(stderr, "smokedrift: %s\n", error.c_str());
        return RENDER_FAILED;
    }
    markStartup(StartupMark::ContextReady);
    renderScene(options);
    const std::vector<std::uint8_t> rgb = readFrameRgb(options.width, options.height);
    scene.release();
    if (!noGlError("the render", error) || !writePng(out, rgb.data(), options.width, options.height, error)) {
        std::fprintf(stderr, "smokedrift: %s\n", error.c_str());
        return RENDER_FAILED;
    }
    return RENDER_OK;
}

}  // namespace smokedrift
