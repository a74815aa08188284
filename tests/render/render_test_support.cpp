#include "render_test_support.h"

#include <string>

#include "app/scene.h"
#include "base/gl.h"
#include "textures/texture.h"

void EglTest::SetUp() {}

void EglTest::TearDown() { smokedrift::scene.release(); }

void EglTest::makeContext(int width, int height) {
    std::string error;
    ASSERT_TRUE(context.create(width, height, error)) << error;
    // A new context has no texture bound: the bind cache must not carry an earlier test's name,
    // which the new context may hand out again.
    smokedrift::resetTextureState();
}

Rgba readPixel(int x, int y) {
    Rgba p{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

std::vector<std::uint8_t> readAll(int width, int height) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

smokedrift::RenderOptions renderOptions(int width, int height, int frames, std::uint32_t seed, unsigned switches) {
    smokedrift::RenderOptions o;
    o.width = width;
    o.height = height;
    o.frames = frames;
    o.seed = seed;
    o.scene.switches = switches;
    return o;
}
