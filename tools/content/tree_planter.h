// Where the trees grow. The game stands each tree's image on a foot point, and the palm's trunk
// meets the ground about nine units to the viewer's right of it, whichever way the viewer looks;
// so a foot is chosen only where the ground all around it, out to that distance, is dry and
// nearly level.
#pragma once

#include <vector>

#include "tools/content/ms3d_writer.h"
#include "tools/content/terrain.h"
#include "tools/content/terrain_mesh.h"

namespace content {

struct TreeFoot {
    float x;
    float y;
    float z;
};

// Each foot stands on `ground`, the level's drawn surface.
std::vector<TreeFoot> PlantTrees(const HeightGrid& grid, const TerrainMesh& ground);

// The tree model: one vertex per foot, plus one more at the end that the game does not plant
// (it plants a tree for every vertex but the last).
Ms3dFile TreeModel(const std::vector<TreeFoot>& feet);

}  // namespace content
