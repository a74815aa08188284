#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads an 8-bit RGB or RGBA PNG into RGB rows, top first. False if the file cannot be read.
bool readPngRgb(const std::string& path, std::vector<std::uint8_t>& rgb, int& width, int& height);
