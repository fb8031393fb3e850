// The one sun of the world: the sky paints it and the land's baked light comes from it.
#pragma once

#include "tools/content/color.h"

namespace content {

struct Direction {
    float x;
    float y;
    float z;
};

// Unit vector toward the sun: low in the afternoon sky, behind the player's starting view
// (which looks along +z), so the islands ahead are lit from the front.
Direction SunDirection();

const Color kSunLight = Rgb(255, 240, 214);
const Color kSkyLight = Rgb(140, 156, 180);

}  // namespace content
