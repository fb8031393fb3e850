// The colour of the ground at any point of the world, with the sun's light and shadows baked in:
// the game draws the level unlit, so its textures carry all of the shading.
#pragma once

#include "tools/content/color.h"
#include "tools/content/terrain.h"

namespace content {

class SurfacePainter {
public:
    // `seaFloor` is the average colour of the sand floor texture, which the slopes fade into
    // where they meet it.
    SurfacePainter(const HeightGrid& grid, const Color& seaFloor);

    Color ColorAt(float x, float z) const;

private:
    Color Albedo(float x, float z, float h, float ny) const;
    Color VolcanoAlbedo(float x, float z, float h, float ny, float distance) const;

    const HeightGrid& grid_;
    Color seaFloor_;
};

}  // namespace content
