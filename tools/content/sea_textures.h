// The water and sand images. Both repeat across the game's sea squares (the sand 3 times, the
// water 15 times, turning with the clock), so both tile without seams.
#pragma once

#include "tools/content/image.h"

namespace content {

// The water is blended as water x (water + what lies below), so its colours stay low: a texel of
// 0.35 over pale sand gives about 0.4, one of 0.6 gives about 0.8.
Image PaintWater(int size);

// Rippled sand with weed and pebbles; one repeat covers a third of the sea.
Image PaintSand(int size);

// Mean colour of an image.
Color AverageColor(const Image& image);

}  // namespace content
