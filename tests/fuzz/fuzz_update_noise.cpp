// updateNoise over any flags, amount and radius, on a texture of any type, size and format
// (refused generations included, which leave their sizes in the fields). Most runs set the
// fields directly, which is what a generation leaves and much quicker.
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
    const int typeWord = takeInt(data, size);
    const int type = typeWord % 20;
    int width = takeTextureSide(data, size);
    int height = takeTextureSide(data, size);
    keepSmall(width, height, MAX_PIXELS);
    const int format = takeTextureFormat(data, size);
    seedRandom(static_cast<std::uint32_t>(takeInt(data, size)));
    if ((typeWord & 0xFF80) == 0x80) {
        texture.generate(type, width, height, format, 0);
    } else {
        // The fields as any earlier generation may have left them, without its cost.
        texture.width = width;
        texture.height = height;
        texture.format = static_cast<std::uint32_t>(format);
    }
    const int flags = takeInt(data, size);
    const int amount = takeInt(data, size);
    const int radius = takeInt(data, size);
    recgl::reset();
    texture.updateNoise(flags, amount, radius);

    const bool fits =
        width >= 0 && height >= 0 && width <= MAX_NOISE_WIDTH && static_cast<long long>(width) * height <= MAX_PIXELS;
    const std::size_t uploads = recgl::count("glTexSubImage2D");
    if (uploads != (fits ? 1u : 0u)) __builtin_trap();  // never past the scratch, always the whole image
    // Without any term, every filled byte is white.
    if (fits && (flags & 0x3F) == 0 && (format == GL_RGBA || format == GL_LUMINANCE_ALPHA)) {
        for (unsigned char byte : recgl::lastUpload()) {
            if (byte != 255) __builtin_trap();
        }
    }
    recgl::reset();
    return 0;
}
