// One mip level of a texture being loaded, held as channel values at the texture format's own
// precision: level 0 is made from the decoded image (resampled and dithered into the format),
// each smaller level from the one above it with a 2 x 2 box filter, and each is then stored into
// the locked level with the format's packing.
#pragma once

#include <cstdint>
#include <vector>

#include "d3dx/image/decoded_image.h"
#include "d3dx/image/image_resampler.h"
#include "d3dx/image/texel_layout.h"

class TextureLevel {
public:
    // Level 0: the image resampled to width x height with `filter`, each channel quantised to
    // the layout's bits; with `dither` the rounding follows a 4 x 4 ordered pattern, otherwise
    // it is to nearest. An image already at that size is only converted.
    HRESULT BuildFromImage(const DecodedImage& image, UINT levelWidth, UINT levelHeight,
                           const TexelLayout& texelLayout, ResampleFilter filter, bool dither);
    // The level below `above`: each value the average of the (up to) four values above it,
    // (sum + 2) / 4 rounded down. Sides of one texel repeat their texel.
    HRESULT BuildHalf(const TextureLevel& above, UINT levelWidth, UINT levelHeight);
    // Writes the texels row by row at `pitch` bytes apart.
    void Store(uint8_t* bits, size_t pitch) const;

    UINT Width() const { return width; }
    UINT Height() const { return height; }
    const TexelLayout* Layout() const { return layout; }
    size_t RowBytes() const { return static_cast<size_t>(width) * layout->bytesPerTexel; }
    // The value of field `field` (in the layout's order) of texel (x, y).
    uint16_t Value(UINT x, UINT y, int field) const {
        return values[(static_cast<size_t>(y) * width + x) * layout->fieldCount + field];
    }

private:
    HRESULT Allocate(UINT levelWidth, UINT levelHeight, const TexelLayout& texelLayout);

    UINT width = 0;
    UINT height = 0;
    const TexelLayout* layout = nullptr;
    std::vector<uint16_t> values;
};
