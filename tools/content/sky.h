// The sky: one colour for every direction of view, and the six faces of the game's sky cube
// painted from it. Each face's texel-to-direction mapping follows the cube's own vertex table
// (positions and texture coordinates per corner), so neighbouring faces agree along their edges.
#pragma once

#include <string>
#include <vector>

#include "tools/content/color.h"
#include "tools/content/image.h"
#include "tools/content/sun.h"

namespace content {

class Sky {
public:
    // `distantSea` is how the water looks far away; the sky continues it below the horizon.
    explicit Sky(const Color& distantSea);

    // Colour seen along a direction (need not be unit length).
    Color ColorToward(Direction d) const;

private:
    Color distantSea_;
};

struct SkyFace {
    std::string fileName;  // e.g. "skybox_top.bmp"
    Image image;
};

// The six faces in the cube's face order (top, bottom, back, front, left, right).
std::vector<SkyFace> PaintSkyFaces(const Sky& sky, int size);

// The direction that the cube's face `face` shows at texture coordinate (u, v).
Direction SkyFaceDirection(int face, float u, float v);

}  // namespace content
