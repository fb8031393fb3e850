// The game's icon for desktop menus and launchers: a round badge of the world, the volcano
// island with its glowing spray under the sky, and a wake skimming over the sea toward it. It is
// made at every size on its own (not scaled from one picture), so that the small one stays sharp.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/image.h"

namespace content {

// Colour and coverage: alpha holds one byte per pixel, top row first, 0 outside the badge.
struct IconImage {
    Image color;
    std::vector<uint8_t> alpha;
};

IconImage PaintIcon(int size);

// The square sizes painted, for the desktop's icon theme and the Windows icon alike: 16 for title
// bars and lists, 32 and 48 for menus and folders (48 is the one every Linux desktop falls back
// on), 256 for launchers and high-density screens.
const std::vector<int>& IconSizes();

}  // namespace content
