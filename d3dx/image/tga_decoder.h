// Truevision TGA: true-colour (15, 16, 24, 32 bits), colour-mapped (8-bit indices into a map of
// 15- to 32-bit entries) and greyscale (8 bits, or 16 with alpha) images, raw or run-length
// encoded, in any of the four row and column orders. TGA has no signature, so a header is taken
// as TGA only when every field is one TGA allows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx/image/decoded_image.h"

bool IsTgaData(const uint8_t* data, size_t size);
HRESULT DecodeTga(const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
