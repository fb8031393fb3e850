#include "tools/compare/png_reader.h"

#include <png.h>

#include <cstring>

namespace {

constexpr size_t kLargestPixelCount = size_t{64} << 20;

}  // namespace

bool ReadRgbaPng(const std::string& path, std::vector<uint8_t>* rgba, int* width, int* height) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    // Sized here rather than with libpng's 32-bit size macros, and refused beyond 64 M pixels
    // (256 MB), so that no header can ask for an allocation that wraps or cannot be made.
    const size_t pixelCount = static_cast<size_t>(image.width) * image.height;
    if (pixelCount == 0 || pixelCount > kLargestPixelCount) {
        png_image_free(&image);
        return false;
    }
    std::vector<uint8_t> pixels(pixelCount * 4);
    if (png_image_finish_read(&image, nullptr, pixels.data(),
                              static_cast<png_int_32>(image.width * 4), nullptr) == 0) {
        png_image_free(&image);
        return false;
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    *rgba = std::move(pixels);
    return true;
}
