#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace smokedrift {

// `smokedrift --texture TYPE --out FILE.png [--size WxH] [--seed S]`: one texture type of the
// generator, written as an RGBA PNG, so the library can be looked at.
struct TextureOptions {
    int type = -1;
    std::string output;
    int width = 256;
    int height = 256;
    std::uint32_t seed = 1;
};

// The type code of a name (any case) or of a code 0..15; -1 for anything else.
int textureTypeFromText(const std::string& text);

// The names --texture accepts, in code order, for messages and help.
std::string textureTypeNameList();

// Parses the arguments after the program name, the first of them "--texture".
// False with a one-line reason on an unknown option, a missing or malformed value.
bool parseTextureOptions(const std::vector<std::string>& args, TextureOptions& options, std::string& error);

// Generates the texture in the current context (seeded with options.seed) and reads it back as
// RGBA rows, the top row first as the texture appears when drawn (its row 0 at the bottom).
// False with a reason when the generator refuses the size.
bool generateTextureRgba(const TextureOptions& options, std::vector<std::uint8_t>& rgba, std::string& error);

// Parses, generates headless and writes the PNG; 0, or 2 with one line on stderr.
int runTextureWriter(const std::vector<std::string>& args);

}  // namespace smokedrift
