// PNG and JPEG decoding, which each platform takes from its own system libraries: libpng and
// libjpeg on Linux (platform/posix/), the Windows Imaging Component on Windows. The game calls
// these two functions and nothing else of those libraries.
//
// What an implementation must do:
//   - It is called only with data that starts with the format's signature (PNG: the eight bytes
//     89 50 4E 47 0D 0A 1A 0A; JPEG: FF D8 FF) and must read nothing outside [data, data + size).
//   - On success it fills `image` through image->AllocatePixels(width, height, format), with
//     format D3DFMT_A8R8G8B8 when the file carries alpha or transparency and D3DFMT_X8R8G8B8
//     otherwise, writes every pixel as A8R8G8B8 (alpha 255 where the file has none), top row
//     first, sets image->fileFormat (D3DXIFF_PNG or D3DXIFF_JPG) and returns S_OK.
//   - A width above limits.maxWidth or a height above limits.maxHeight returns
//     D3DXERR_INVALIDDATA before any pixel memory is allocated.
//   - Malformed or truncated data returns E_FAIL; a failed allocation returns E_OUTOFMEMORY.
//   - It never throws, prints, exits or aborts, whatever the data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/image/decoded_image.h"

HRESULT DecodePngImage(const uint8_t* data, size_t size, const ImageLimits& limits,
                       DecodedImage* image);
HRESULT DecodeJpegImage(const uint8_t* data, size_t size, const ImageLimits& limits,
                        DecodedImage* image);
