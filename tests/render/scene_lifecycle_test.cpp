// The scene's life in one process: starts that follow other starts, and a window that changes size.
#include <cmath>

#include "app/frame_clock.h"
#include "app/scene_start.h"
#include "app/scene_switches.h"
#include "base/gl.h"
#include "offscreen/render_mode.h"
#include "render_test_support.h"

using namespace smokedrift;

namespace {

// One render in a context of its own, released before the context goes, as --render does.
std::vector<std::uint8_t> renderAlone(const RenderOptions& o) {
    EglContext context;
    std::string error;
    if (!context.create(o.width, o.height, error)) ADD_FAILURE() << error;
    renderScene(o);
    auto rgb = readFrameRgb(o.width, o.height);
    scene.release();
    return rgb;
}

constexpr Rgba MARK = {255, 0, 255, 255};

bool isMark(const std::uint8_t* p) { return p[0] == MARK.r && p[1] == MARK.g && p[2] == MARK.b && p[3] == MARK.a; }

}  // namespace

TEST(SceneLifecycle, AStartAfterOtherStartsDrawsTheSameBytesAsTheFirst) {
    const RenderOptions shipped = renderOptions(160, 120, 90, 7, 0);
    const auto first = renderAlone(shipped);
    // Every part switched on leaves the most behind: star list, particles, captured tiles.
    const unsigned every = switchBit(SWITCH_3D) | switchBit(SWITCH_STARS) | switchBit(SWITCH_PARTICLES) |
                           switchBit(SWITCH_FOG) | switchBit(SWITCH_BACKGROUND) | switchBit(SWITCH_FEEDBACK);
    const auto other = renderAlone(renderOptions(256, 256, 60, 7, every));
    const auto again = renderAlone(shipped);
    EXPECT_NE(first, std::vector<std::uint8_t>(first.size(), 0)) << "the scene drew nothing";
    EXPECT_TRUE(first == again) << "a later start in the same process drew another picture";
}

struct SceneResize : EglTest {
    static inline std::int64_t now = 0;
    static std::int64_t clock() { return now; }

    void SetUp() override {
        makeContext(W, H);
        setMillisecondSource(&clock);
        now = 0;
        startScene(scene, {W, H, 7, {}});
        frames(60);
    }
    void TearDown() override {
        setMillisecondSource(nullptr);
        EglTest::TearDown();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            now += 16;
            scene.renderFrame();
        }
        glFinish();
    }
    // The window shrinks; everything it drew before is painted over with a mark first, so what
    // the scene draws afterwards shows against it.
    void shrinkTo(int w, int h) {
        scene.resize(w, h);
        glViewport(0, 0, W, H);
        glClearColor(MARK.r / 255.0f, MARK.g / 255.0f, MARK.b / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        frames(60);
    }

    static constexpr int W = 640;
    static constexpr int H = 480;
};

TEST_F(SceneResize, BandsAndSmokeFillTheNewSizeAndNothingIsDrawnOutsideIt) {
    constexpr int w = 320, h = 200;
    shrinkTo(w, h);
    const auto px = readAll(W, H);
    auto at = [&](int x, int y) { return &px[(static_cast<std::size_t>(y) * W + x) * 4]; };
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (x < w && y < h) continue;
            ASSERT_TRUE(isMark(at(x, y))) << "drawn outside the window at " << x << "," << y;
        }
    }
    const int band = static_cast<int>(scene.screenLayout.bandFraction * h);
    ASSERT_GT(band, 2);
    int smoke = 0;
    for (int x = 0; x < w; ++x) {
        for (int y : {0, band - 1, h - band, h - 1}) {
            const std::uint8_t* p = at(x, y);
            ASSERT_EQ(p[0] + p[1] + p[2], 0) << "band at " << x << "," << y;
            ASSERT_EQ(p[3], 255);
        }
        for (int y = band + 2; y < h - band - 2; ++y)
            if (!isMark(at(x, y)) && at(x, y)[0] + at(x, y)[1] + at(x, y)[2] > 60) ++smoke;
    }
    EXPECT_GT(smoke, w * 20) << "the smoke should fill the middle of the new size";
}

TEST_F(SceneResize, OnePixelAndNoPixelsDrawNowhereElse) {
    shrinkTo(1, 1);
    auto px = readAll(W, H);
    for (std::size_t i = 4; i < px.size(); i += 4) ASSERT_TRUE(isMark(&px[i])) << "pixel " << i / 4;
    shrinkTo(0, 0);
    px = readAll(W, H);
    for (std::size_t i = 0; i < px.size(); i += 4) ASSERT_TRUE(isMark(&px[i])) << "pixel " << i / 4;
    for (const Sprite& s : scene.sprites) ASSERT_TRUE(std::isfinite(s.x) && std::isfinite(s.y));
    // And back: the scene goes on at a usable size.
    shrinkTo(200, 150);
    px = readAll(W, H);
    EXPECT_FALSE(isMark(&px[(75 * W + 100) * 4])) << "nothing drawn after growing again";
}
