#include "tools/content/collision_builder.h"

#include <algorithm>
#include <cmath>

#include "tools/content/level_builder.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const int kRingSegments = 128;
// Cells wholly above the blocking height are merged into flat strips at this height: only the
// fact that they block matters.
const float kStripHeight = 0.0f;

class CollisionMesh {
public:
    explicit CollisionMesh(Ms3dFile* model) : model_(model) {}

    uint16_t Vertex(float x, float y, float z) {
        Ms3dFileVertex v;
        v.x = x;
        v.y = y;
        v.z = -z;
        model_->vertices.push_back(v);
        return static_cast<uint16_t>(model_->vertices.size() - 1);
    }

    void Triangle(uint16_t a, uint16_t b, uint16_t c) {
        Ms3dFileTriangle t;
        t.vertexIndices = {a, b, c};
        for (auto& n : t.normals) {
            n = {0.0f, 1.0f, 0.0f};
        }
        model_->groups[0].triangleIndices.push_back(
            static_cast<uint16_t>(model_->triangles.size()));
        model_->triangles.push_back(t);
    }

    // A flat rectangle at height y.
    void Quad(float x0, float z0, float x1, float z1, float y) {
        const uint16_t a = Vertex(x0, y, z0);
        const uint16_t b = Vertex(x1, y, z0);
        const uint16_t c = Vertex(x0, y, z1);
        const uint16_t d = Vertex(x1, y, z1);
        Triangle(a, b, d);
        Triangle(a, d, c);
    }

private:
    Ms3dFile* model_;
};

float CornerHeight(const HeightGrid& grid, float x, float z) {
    const int step = static_cast<int>(kMeshStep / HeightGrid::kGridStep);
    const int i = static_cast<int>(std::lround((x + HeightGrid::kGridHalfSize) / kMeshStep)) * step;
    const int j = static_cast<int>(std::lround((z + HeightGrid::kGridHalfSize) / kMeshStep)) * step;
    return grid.Sample(i, j);
}

}  // namespace

BlockedCells::BlockedCells()
    : cellsPerSide_(static_cast<int>(2.0f * HeightGrid::kGridHalfSize / kMeshStep)),
      cells_(static_cast<size_t>(cellsPerSide_) * cellsPerSide_, 0) {}

bool BlockedCells::Blocked(int i, int j) const {
    if (i < 0 || j < 0 || i >= cellsPerSide_ || j >= cellsPerSide_) {
        return false;
    }
    return cells_[Index(i, j)] != 0;
}

float BlockedCells::CellX(int i) const {
    return -HeightGrid::kGridHalfSize + i * kMeshStep;
}

namespace {

// Whether the cell at (i, j) is wholly blocked; a cell only partly blocked gets the level's own
// surface, split along the same diagonal as the level mesh, as the shore of the blocked area.
bool BlockCell(const HeightGrid& grid, int i, int j, BlockedCells* blocked, CollisionMesh* mesh) {
    const float x0 = blocked->CellX(i);
    const float x1 = x0 + kMeshStep;
    const float z0 = blocked->CellX(j);
    const float z1 = z0 + kMeshStep;
    const float h[4] = {CornerHeight(grid, x0, z0), CornerHeight(grid, x1, z0),
                        CornerHeight(grid, x0, z1), CornerHeight(grid, x1, z1)};
    const float highest = *std::max_element(h, h + 4);
    const float lowest = *std::min_element(h, h + 4);
    if (highest < kBlockingHeight) {
        return false;
    }
    blocked->Set(i, j);
    if (lowest >= kBlockingHeight) {
        return true;
    }
    const uint16_t a = mesh->Vertex(x0, h[0], z0);
    const uint16_t b = mesh->Vertex(x1, h[1], z0);
    const uint16_t c = mesh->Vertex(x0, h[2], z1);
    const uint16_t d = mesh->Vertex(x1, h[3], z1);
    mesh->Triangle(a, b, d);
    mesh->Triangle(a, d, c);
    return false;
}

// The ring around the sea, flat and well above the water.
void AddRing(CollisionMesh* mesh) {
    for (int s = 0; s < kRingSegments; ++s) {
        const float a0 = 6.2831853f * s / kRingSegments;
        const float a1 = 6.2831853f * (s + 1) / kRingSegments;
        const uint16_t i0 = mesh->Vertex(kRingInnerRadius * std::cos(a0), kStripHeight,
                                         kRingInnerRadius * std::sin(a0));
        const uint16_t o0 = mesh->Vertex(kRingOuterRadius * std::cos(a0), kStripHeight,
                                         kRingOuterRadius * std::sin(a0));
        const uint16_t i1 = mesh->Vertex(kRingInnerRadius * std::cos(a1), kStripHeight,
                                         kRingInnerRadius * std::sin(a1));
        const uint16_t o1 = mesh->Vertex(kRingOuterRadius * std::cos(a1), kStripHeight,
                                         kRingOuterRadius * std::sin(a1));
        mesh->Triangle(i0, o0, o1);
        mesh->Triangle(i0, o1, i1);
    }
}

}  // namespace

bool BuildCollision(const HeightGrid& grid, Collision* collision) {
    Ms3dFile& model = collision->model;
    Ms3dFileGroup bounds;
    bounds.name = "bounds";
    model.groups.push_back(bounds);
    CollisionMesh mesh(&model);
    BlockedCells& blocked = collision->blocked;
    const int n = blocked.CellsPerSide();
    for (int j = 0; j < n; ++j) {
        const float z0 = blocked.CellX(j);
        const float z1 = z0 + kMeshStep;
        int runStart = -1;  // first cell of the current run of wholly blocked cells
        for (int i = 0; i <= n; ++i) {
            const bool whole = i < n && BlockCell(grid, i, j, &blocked, &mesh);
            if (whole && runStart < 0) {
                runStart = i;
            } else if (!whole && runStart >= 0) {
                mesh.Quad(blocked.CellX(runStart), z0, blocked.CellX(i), z1, kStripHeight);
                runStart = -1;
            }
        }
    }
    AddRing(&mesh);
    return model.vertices.size() <= 65535 && model.triangles.size() <= 65535;
}

}  // namespace content
