// updateNoise over any flags, amount and radius, on a texture of any type, size and format
// (refused generations included, which leave their sizes in the fields). Most runs set the
// fields directly, which is what a generation leaves and much quicker.
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
    const int typeWord = takeInt(data, size);
    const int type = typeWord % 20;
    int width = takeInt(data, size);
    int height = takeInt(data, size);
    // Mostly sizes the generator takes; now and then anything, to reach the refused ones.
    if ((width & 0x100000) == 0) width %= 300;
    if ((height & 0x100000) == 0) height %= 300;
    const int formats[] = {GL_RGBA, GL_LUMINANCE_ALPHA, GL_RGB, GL_ALPHA, 0, -1};
    const int format = formats[static_cast<unsigned>(takeInt(data, size)) % 6];
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

    const bool fits = width >= 0 && height >= 0 && width <= MAX_NOISE_WIDTH &&
                      static_cast<long long>(width) * height <= MAX_PIXELS;
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
