// Turns the bytes of an image file into a DecodedImage, recognising the format by content: the
// decoders are offered the data in the order BMP, PPM, DDS, JPEG, PNG, TGA, bare DIB, and the
// first that recognises it decodes it (or reports why it cannot).
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx/image/decoded_image.h"

// D3DXERR_INVALIDDATA when no decoder recognises the data or the image exceeds `limits`;
// E_FAIL for a malformed file, E_NOTIMPL for a bitmap compression not supported,
// E_OUTOFMEMORY when the pixels do not fit in memory. `image` is written only on success.
HRESULT DecodeImage(const uint8_t* data, size_t size, const ImageLimits& limits,
                    DecodedImage* image);
