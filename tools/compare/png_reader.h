// Reads any PNG through libpng as 8-bit RGBA (grey, palette and 16-bit images converted).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False when the file cannot be opened or is not a PNG libpng can read.
bool ReadRgbaPng(const std::string& path, std::vector<uint8_t>* rgba, int* width, int* height);
