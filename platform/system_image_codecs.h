// PNG and JPEG decoding, which each platform takes from its own system libraries: libpng and
// libjpeg on Linux (platform/posix/), the Windows Imaging Component on Windows. The texture
// loader calls these two functions and nothing else of those libraries; it turns a SystemImage
// into its own image type.
//
// What an implementation must do:
//   - It is called only with data that starts with the format's signature (PNG: the eight bytes
//     89 50 4E 47 0D 0A 1A 0A; JPEG: FF D8 FF) and must read nothing outside [data, data + size).
//   - On success it fills `image` through image->AllocatePixels(width, height, hasAlpha), with
//     hasAlpha true when the file carries alpha or transparency, writes every pixel as A8R8G8B8
//     (alpha 255 where the file has none), top row first, and returns S_OK.
//   - A width above maxWidth or a height above maxHeight returns kSystemImageTooLarge before any
//     pixel memory is allocated.
//   - Malformed or truncated data returns E_FAIL; a failed allocation returns E_OUTOFMEMORY.
//   - It never throws, prints, exits or aborts, whatever the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/safe_size.h"
#include "platform/win32.h"

constexpr HRESULT kSystemImageTooLarge = MAKE_HRESULT(1, 4, 0x201);

struct SystemImage {
    UINT width = 0;
    UINT height = 0;
    bool hasAlpha = false;
    // width * height A8R8G8B8 values, top row first.
    std::vector<uint32_t> pixels;

    // Every pixel 0. E_OUTOFMEMORY when the memory is not there, E_FAIL for an empty or
    // impossibly large size.
    HRESULT AllocatePixels(UINT imageWidth, UINT imageHeight, bool imageHasAlpha) {
        const HRESULT result = AssignImageBuffer(&pixels, imageWidth, imageHeight, 0u);
        if (FAILED(result)) {
            return result;
        }
        width = imageWidth;
        height = imageHeight;
        hasAlpha = imageHasAlpha;
        return S_OK;
    }
    uint32_t* PixelRow(UINT y) { return pixels.data() + static_cast<size_t>(y) * width; }
};

HRESULT DecodePngImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                       SystemImage* image);
HRESULT DecodeJpegImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                        SystemImage* image);
