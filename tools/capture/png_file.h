// Writes an image as an 8-bit RGB PNG through libpng (the presented frame has no alpha).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgba holds width x height pixels, top row first; false when the file cannot be written.
bool WriteRgbPng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height);
