// WriteRgbPng for the builds without libpng: our own stored-deflate encoder.
#include <cstdio>

#include "tools/capture/png_file.h"
#include "tools/capture/stored_png.h"

bool WriteRgbPng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height) {
    const std::vector<uint8_t> png = EncodeStoredPng(rgba, width, height);
    if (png.empty()) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}
