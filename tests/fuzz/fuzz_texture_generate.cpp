// The texture generator over any type, size, format and mipmap flag, with a recording GL.
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "animation/random.h"
#include "fuzz_input.h"
#include "recording_gl.h"
#include "textures/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace smokedrift;
    static Texture texture;
    const int type = takeInt(data, size) % 20;
    // Sizes mostly small so that each run stays quick, now and then up to the limit and beyond.
    int width = takeInt(data, size);
    int height = takeInt(data, size);
    if ((width & 0x100000) == 0) width %= 300;
    if ((height & 0x100000) == 0) height %= 300;
    const int formats[] = {GL_RGBA, GL_LUMINANCE_ALPHA, GL_RGB, GL_ALPHA, 0, -1};
    const int format = formats[static_cast<unsigned>(takeInt(data, size)) % 6];
    const int mipmapped = takeInt(data, size) & 1;
    seedRandom(static_cast<std::uint32_t>(takeInt(data, size)));
    const int result = texture.generate(type, width, height, format, mipmapped);
    const long long pixels = static_cast<long long>(width) * height;
    if (result == 0 && (width < 0 || height < 0 || pixels > MAX_PIXELS)) __builtin_trap();
    if (result == 1 && width >= 0 && height >= 0 && pixels <= MAX_PIXELS) __builtin_trap();
    recgl::reset();
    return 0;
}
