// libFuzzer entry for the image decoders: any bytes go through DecodeImage, and whatever decodes
// is checked for consistency, keyed, resampled, mip-mapped and stored, as a load would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "d3dx/image/image_decoder.h"
#include "d3dx/image/texture_level.h"

namespace {

// Small enough to keep every input fast, large enough to reach the size checks.
const ImageLimits kLimits{1024, 1024};

const D3DFORMAT kFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5,
                              D3DFMT_A4R4G4B4, D3DFMT_L8,       D3DFMT_A8L8,   D3DFMT_G16R16};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image;
    if (FAILED(DecodeImage(data, size, kLimits, &image))) {
        return 0;
    }
    const size_t count = static_cast<size_t>(image.width) * image.height;
    if (image.width == 0 || image.height == 0 || image.width > kLimits.maxWidth ||
        image.height > kLimits.maxHeight) {
        __builtin_trap();
    }
    if (image.IsPalettised()) {
        if (image.indices.size() != count || image.palette.size() > 256 || !image.pixels.empty()) {
            __builtin_trap();
        }
        for (uint8_t index : image.indices) {
            if (index >= image.palette.size()) {
                __builtin_trap();
            }
        }
    } else if (image.pixels.size() != count || !image.indices.empty()) {
        __builtin_trap();
    }

    image.ApplyColorKey(0xFF000000);
    const TexelLayout& layout = *FindTexelLayout(kFormats[size % 8]);
    const UINT width = 1 + (image.width * 7 + size) % 33;
    const UINT height = 1 + (image.height * 5 + size) % 29;
    TextureLevel level;
    if (FAILED(level.BuildFromImage(image, width, height, layout,
                                    size % 3 == 0 ? ResampleFilter::kPoint : ResampleFilter::kTent,
                                    size % 2 == 0))) {
        return 0;
    }
    TextureLevel half;
    if (FAILED(half.BuildHalf(level, width > 1 ? width / 2 : 1, height > 1 ? height / 2 : 1))) {
        return 0;
    }
    std::vector<uint8_t> bits(half.RowBytes() * half.Height());
    half.Store(bits.data(), half.RowBytes());
    return 0;
}
