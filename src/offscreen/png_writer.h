#pragma once
#include <cstdint>
#include <string>

#include "offscreen/output_file.h"

namespace smokedrift {

// Encodes 8-bit RGB pixels, rows top first, as a PNG into an opened output and commits it. False
// with a one-line reason; nothing is left behind then.
bool writePng(OutputFile& out, const std::uint8_t* rgb, int width, int height, std::string& error);

// The same for 8-bit RGBA pixels, rows top first.
bool writePngRgba(OutputFile& out, const std::uint8_t* rgba, int width, int height, std::string& error);

// Opens `path` and writes RGB pixels into it.
bool writePng(const std::string& path, const std::uint8_t* rgb, int width, int height, std::string& error);

}  // namespace smokedrift
