// DirectDraw surfaces: the top mip level of the first surface, uncompressed (RGB, ARGB,
// luminance and alpha layouts given by channel masks) or block-compressed DXT1 to DXT5, decoded
// to A8R8G8B8.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx/image/decoded_image.h"

bool IsDdsData(const uint8_t* data, size_t size);
HRESULT DecodeDds(const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
