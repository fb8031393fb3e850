// Resamples a decoded image to another size, row by row, as floating-point A, R, G, B values on
// the 0-255 scale. The default filter is a tent (triangle) whose radius is one source texel when
// enlarging and the scale factor when shrinking, so every source texel contributes when an image
// is reduced; edges are clamped. Point sampling takes the nearest source texel.
#pragma once

#include <functional>

#include "d3dx/image/decoded_image.h"

enum class ResampleFilter { kPoint, kTent };

// Receives output row `y`: width * 4 floats, A, R, G, B per texel.
using ResampledRowSink = std::function<void(UINT y, const float* argb)>;

// Calls `sink` once per output row, top to bottom. An image of the same size is passed through
// unchanged. E_OUTOFMEMORY when the working rows cannot be allocated.
HRESULT ResampleImage(const DecodedImage& source, UINT width, UINT height, ResampleFilter filter,
                      const ResampledRowSink& sink);
