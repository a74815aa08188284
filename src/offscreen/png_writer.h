#pragma once
#include <cstdint>
#include <string>

namespace smokedrift {

// Writes an 8-bit RGB PNG, rows top first. The file appears whole or not at all: it is written
// beside the destination under a temporary name and renamed. False with a reason on failure.
bool writePng(const std::string& path, const std::uint8_t* rgb, int width, int height, std::string& error);

// The same for 8-bit RGBA pixels, rows top first.
bool writePngRgba(const std::string& path, const std::uint8_t* rgba, int width, int height, std::string& error);

}  // namespace smokedrift
