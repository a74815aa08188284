#include "offscreen/texture_writer.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/arguments.h"
#include "base/gl.h"
#include "base/random.h"
#include "offscreen/egl_context.h"
#include "offscreen/gl_check.h"
#include "offscreen/png_writer.h"
#include "offscreen/render_mode.h"
#include "textures/texture.h"
#include "textures/texture_type_names.h"

namespace smokedrift {

int textureTypeFromText(const std::string& text) {
    int code = -1;
    if (parseNumber(text, code)) return code >= 0 && code <= HIGHEST_TEXTURE_TYPE ? code : -1;
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const TextureTypeName& t : textureTypeNames)
        if (upper == t.name) return t.code;
    return -1;
}

std::string textureTypeNameList() {
    std::string list;
    for (const TextureTypeName& t : textureTypeNames) list += (list.empty() ? "" : ", ") + std::string(t.name);
    return list + " or a code 0-" + std::to_string(HIGHEST_TEXTURE_TYPE);
}

bool parseTextureOptions(const std::vector<std::string>& args, TextureOptions& options, std::string& error) {
    std::string option, value;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!takeOption(args, i, {"--texture", "--out", "--size", "--seed"}, option, value, error)) return false;
        if (option == "--texture") {
            options.type = textureTypeFromText(value);
            if (options.type < 0) {
                error = "--texture: unknown type '" + printable(value) + "' (known: " + textureTypeNameList() + ")";
                return false;
            }
        } else if (option == "--out") {
            if (value.empty()) {
                error = "--out needs a file name";
                return false;
            }
            options.output = value;
        } else if (option == "--size") {
            if (!parseSize(value, options.width, options.height) ||
                static_cast<long long>(options.width) * options.height > MAX_PIXELS) {
                error = "--size '" + printable(value) + "': expected WxH, each at least 1, at most " +
                        std::to_string(MAX_PIXELS) + " pixels in all";
                return false;
            }
        } else if (!parseNumber(value, options.seed)) {
            error = "--seed '" + printable(value) + "': expected a number from 0 to 4294967295";
            return false;
        }
    }
    if (options.type < 0) {
        error = "--texture needs a type";
        return false;
    }
    if (options.output.empty()) {
        error = "--texture needs --out FILE.png";
        return false;
    }
    return true;
}

bool generateTextureRgba(const TextureOptions& options, std::vector<std::uint8_t>& rgba, std::string& error) {
    // Wider or taller than the implementation takes, the upload would fail without a word.
    const int limit = maxTextureSize();
    if (options.width > limit || options.height > limit) {
        error = "--size " + std::to_string(options.width) + "x" + std::to_string(options.height) +
                ": this OpenGL takes textures of at most " + std::to_string(limit) + " pixels a side";
        return false;
    }
    // A new context: nothing of it is bound yet, whatever an earlier one bound.
    resetTextureState();
    seedRandom(options.seed);
    Texture texture;
    if (texture.generate(options.type, options.width, options.height, GL_RGBA, 0) != 0) {
        error = "the generator refuses " + std::to_string(options.width) + "x" + std::to_string(options.height);
        return false;
    }
    const std::size_t row = static_cast<std::size_t>(options.width) * 4;
    std::vector<std::uint8_t> image(row * options.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    if (!noGlError("the texture", error)) return false;
    rgba.resize(image.size());
    for (int y = 0; y < options.height; ++y) {
        std::memcpy(rgba.data() + static_cast<std::size_t>(y) * row,
                    image.data() + static_cast<std::size_t>(options.height - 1 - y) * row, row);
    }
    return true;
}

int runTextureWriter(const std::vector<std::string>& args) {
    TextureOptions options;
    std::string error;
    if (!parseTextureOptions(args, options, error)) {
        std::fprintf(stderr, "smokedrift: %s\n", error.c_str());
        return RENDER_FAILED;
    }
    OutputFile out;
    EglContext context;
    std::vector<std::uint8_t> rgba;
    if (!out.open(options.output, error) || !context.create(16, 16, error) ||
        !generateTextureRgba(options, rgba, error) ||
        !writePngRgba(out, rgba.data(), options.width, options.height, error)) {
        std::fprintf(stderr, "smokedrift: %s\n", error.c_str());
        return RENDER_FAILED;
    }
    return RENDER_OK;
}

}  // namespace smokedrift
