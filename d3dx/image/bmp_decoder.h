// Windows bitmaps, with their 14-byte file header ("BM") or bare (a DIB: the info header first).
// Reads 1-, 4- and 8-bit palettes, 16-bit X1R5G5B5, 24- and 32-bit true colour, RLE8 and RLE4,
// and bit fields whose masks name one known format; rows bottom-up, or top-down for a negative
// height. Other compressions are E_NOTIMPL, anything malformed E_FAIL.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx/image/decoded_image.h"

bool IsBmpData(const uint8_t* data, size_t size);
HRESULT DecodeBmp(const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);

// A bare DIB is recognised by a plausible info header: a known header size and one plane.
bool IsDibData(const uint8_t* data, size_t size);
HRESULT DecodeDib(const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
