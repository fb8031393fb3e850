// Writes an image as an 8-bit RGB PNG (the presented frame has no alpha): through libpng on
// Linux (png_file.cpp), through our own encoder where there is no libpng (png_file_stored.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgba holds width x height pixels, top row first; false when the file cannot be written.
bool WriteRgbPng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height);
