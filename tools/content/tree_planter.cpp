#include "tools/content/tree_planter.h"

#include <cmath>

#include "tools/content/level_builder.h"
#include "tools/content/random.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const float kSpacing = 5.5f;
const float kTrunkReach = 9.5f;  // how far from the foot the trunk may meet the ground
const float kLowestFoot = 0.4f;
const float kHighestFoot = 12.0f;
const float kLevelness = 3.5f;  // largest rise or fall of the ground within the trunk's reach
const float kVolcanoClearance = 36.0f;

bool GoodGround(const HeightGrid& grid, float x, float z, float h) {
    if (h < kLowestFoot || h > kHighestFoot) {
        return false;
    }
    if (std::hypot(x - kSprayX, z - kSprayZ) < kVolcanoClearance) {
        return false;  // ash and scree: nothing grows on the cone
    }
    for (int k = 0; k < 16; ++k) {
        const float angle = 6.2831853f * k / 16.0f;
        for (float r = 3.0f; r <= kTrunkReach; r += 3.25f) {
            const float g = grid.Height(x + r * std::cos(angle), z + r * std::sin(angle));
            if (g < kWaterHeight + 0.8f || std::fabs(g - h) > kLevelness) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::vector<TreeFoot> PlantTrees(const HeightGrid& grid, const TerrainMesh& ground) {
    std::vector<TreeFoot> feet;
    Random random(20240611u);
    const float half = HeightGrid::kGridHalfSize - kTrunkReach;
    for (float gz = -half; gz < half; gz += kSpacing) {
        for (float gx = -half; gx < half; gx += kSpacing) {
            // Draw every number whether or not the spot is used, so the sequence never depends
            // on the terrain's details elsewhere.
            const float x = gx + random.Range(-0.4f, 0.4f) * kSpacing;
            const float z = gz + random.Range(-0.4f, 0.4f) * kSpacing;
            const float keep = random.Unit();
            const float h = ground.SurfaceHeight(x, z);
            if (keep < 0.7f && GoodGround(grid, x, z, h)) {
                feet.push_back(TreeFoot{x, h, z});
            }
        }
    }
    return feet;
}

Ms3dFile TreeModel(const std::vector<TreeFoot>& feet) {
    Ms3dFile model;
    for (const TreeFoot& foot : feet) {
        Ms3dFileVertex v;
        v.x = foot.x;
        v.y = foot.y;
        v.z = -foot.z;
        model.vertices.push_back(v);
    }
    // The vertex the game leaves unplanted: a copy of the first foot, so that a reader that did
    // plant it would only put a second tree on the same spot.
    if (!model.vertices.empty()) {
        model.vertices.push_back(model.vertices.front());
    }
    return model;
}

}  // namespace content
