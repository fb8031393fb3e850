// Netpbm colour and grey maps: binary (P6, P5) and plain text (P3, P2), with samples of 8 or 16
// bits (any maximum value up to 65535), scaled to 8 bits per channel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx/image/decoded_image.h"

bool IsPpmData(const uint8_t* data, size_t size);
HRESULT DecodePpm(const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
