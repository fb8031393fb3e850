// Encoders for the content tool's images: 24-bit BMP (our own), PNG through libpng and JPEG
// through libjpeg. Each returns the whole file's bytes, the same bytes for the same image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/content/image.h"

namespace content {

// Uncompressed 24-bit bitmap with a 40-byte info header, rows stored bottom-up.
std::vector<uint8_t> EncodeBmp(const Image& image);

// 8-bit RGB PNG; empty on an encoder failure.
std::vector<uint8_t> EncodePng(const Image& image);

// 8-bit RGBA PNG, alpha one byte per pixel in the image's order; empty on an encoder failure or
// when alpha does not hold one byte for every pixel.
std::vector<uint8_t> EncodePngWithAlpha(const Image& image, const std::vector<uint8_t>& alpha);

// Baseline JPEG at the given quality (1-100); empty on an encoder failure.
std::vector<uint8_t> EncodeJpeg(const Image& image, int quality);

// Writes bytes to a file, replacing it; false when the file cannot be written.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace content
