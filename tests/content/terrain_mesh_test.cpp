// The level's drawn surface: close to the terrain everywhere it shows, and without cracks.
#include "tools/content/terrain_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numeric>
#include <unordered_set>

#include "tools/content/level_builder.h"

namespace {

using content::HeightGrid;
using content::kLevelAccuracy;
using content::TerrainMesh;

class TerrainMeshTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        grid_ = new HeightGrid();
        mesh_ = new TerrainMesh(*grid_, kLevelAccuracy);
    }
    static void TearDownTestSuite() {
        delete mesh_;
        delete grid_;
    }

    static int64_t Key(int i, int j) { return int64_t{j} * 100000 + i; }

    static HeightGrid* grid_;
    static TerrainMesh* mesh_;
};

HeightGrid* TerrainMeshTest::grid_ = nullptr;
TerrainMesh* TerrainMeshTest::mesh_ = nullptr;

TEST_F(TerrainMeshTest, EveryPointThatShowsLiesWithinItsTolerance) {
    const TerrainMesh::Accuracy& a = kLevelAccuracy;
    int checked = 0;
    for (int j = 0; j < mesh_->PointsPerSide(); ++j) {
        for (int i = 0; i < mesh_->PointsPerSide(); ++i) {
            const float h = mesh_->PointHeight(i, j);
            const float s = mesh_->SurfaceHeight(mesh_->PointWorld(i), mesh_->PointWorld(j));
            const float low = std::min(h, s);
            const float high = std::max(h, s);
            if (high < a.lowestShown) {
                continue;
            }
            float allowed = a.tolerance;
            for (float outline : a.outlineHeights) {
                if (low - a.outlineBand <= outline && outline <= high + a.outlineBand) {
                    allowed = a.outlineTolerance;
                }
            }
            ASSERT_LE(high - low, allowed + 1e-4f) << "point " << i << ", " << j;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10000);
}

// A corner of one triangle in the middle of another's edge leaves a crack where the two
// surfaces part; chunks are meshed apart, so their shared edges matter most.
TEST_F(TerrainMeshTest, NoCornerLiesInsideAnotherTrianglesEdge) {
    const int chunks = mesh_->PointsPerSide() / 32;
    std::vector<TerrainMesh::Triangle> all;
    std::unordered_set<int64_t> corners;
    for (int cj = 0; cj < chunks; ++cj) {
        for (int ci = 0; ci < chunks; ++ci) {
            for (const TerrainMesh::Triangle& t : mesh_->ChunkTriangles(ci, cj)) {
                all.push_back(t);
                for (const TerrainMesh::Point& p : t.corners) {
                    corners.insert(Key(p.i, p.j));
                }
            }
        }
    }
    ASSERT_FALSE(all.empty());
    for (const TerrainMesh::Triangle& t : all) {
        for (int e = 0; e < 3; ++e) {
            const TerrainMesh::Point p = t.corners[e];
            const TerrainMesh::Point q = t.corners[(e + 1) % 3];
            const int steps = std::gcd(std::abs(q.i - p.i), std::abs(q.j - p.j));
            for (int k = 1; k < steps; ++k) {
                const int i = p.i + (q.i - p.i) / steps * k;
                const int j = p.j + (q.j - p.j) / steps * k;
                ASSERT_EQ(corners.count(Key(i, j)), 0u)
                    << "corner " << i << ", " << j << " inside the edge from " << p.i << ", " << p.j
                    << " to " << q.i << ", " << q.j;
            }
        }
    }
}

TEST_F(TerrainMeshTest, OpenSeaTakesFarFewerTrianglesThanTheGrid) {
    // A chunk of deep sea far from every island is hidden under the sand floor: nothing to draw.
    EXPECT_TRUE(mesh_->ChunkTriangles(0, 0).empty());
    size_t total = 0;
    const int chunks = mesh_->PointsPerSide() / 32;
    for (int cj = 0; cj < chunks; ++cj) {
        for (int ci = 0; ci < chunks; ++ci) {
            const size_t n = mesh_->ChunkTriangles(ci, cj).size();
            EXPECT_LE(n, 2u * 32u * 32u);
            total += n;
        }
    }
    // The full 1-unit grid over the same land takes 57 282.
    EXPECT_LT(total, 30000u);
}

}  // namespace
