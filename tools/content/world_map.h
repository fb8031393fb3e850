// A picture of the world from above, for people: land as the game paints it, shallow and deep
// water, where the collision model blocks the player, the trees, the volcano's spray, and the
// start point with the first stretch of the current's drift.
#pragma once

#include <vector>

#include "tools/content/collision_builder.h"
#include "tools/content/image.h"
#include "tools/content/surface_painter.h"
#include "tools/content/terrain.h"
#include "tools/content/tree_planter.h"

namespace content {

// North (+z) at the top, east (+x) to the right, covering 500 x 500 units around the origin.
Image PaintWorldMap(const HeightGrid& grid, const SurfacePainter& painter,
                    const BlockedCells& blocked, const std::vector<TreeFoot>& trees, int size);

}  // namespace content
