// The texture generator over any type, size, format and mipmap flag, with a recording GL.
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/random.h"
#include "fuzz_input.h"
#include "recording_gl.h"
#include "textures/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace smokedrift;
    static Texture texture;
    const int type = takeInt(data, size) % 20;
    int width = takeTextureSide(data, size);
    int height = takeTextureSide(data, size);
    keepSmall(width, height, MAX_PIXELS);
    const int format = takeTextureFormat(data, size);
    const int mipmapped = takeInt(data, size) & 1;
    seedRandom(static_cast<std::uint32_t>(takeInt(data, size)));
    const int result = texture.generate(type, width, height, format, mipmapped);
    const long long pixels = static_cast<long long>(width) * height;
    if (result == 0 && (width < 0 || height < 0 || pixels > MAX_PIXELS)) __builtin_trap();
    if (result == 1 && width >= 0 && height >= 0 && pixels <= MAX_PIXELS) __builtin_trap();
    recgl::reset();
    return 0;
}
