// The invisible collision model: one group whose triangles cover every piece of land and of
// shallow water (sea floor at or above the blocking height) and a ring that keeps the player
// inside the sea. The game looks straight down from above the player's next spot and refuses the
// move when the last triangle in the list that it hits lies at or above the blocking height, so no
// two triangles here ever lie over the same spot.
#pragma once

#include <vector>

#include "tools/content/ms3d_writer.h"
#include "tools/content/terrain.h"

namespace content {

// Where the player may not go: one flag per cell of the level mesh, for the map.
class BlockedCells {
public:
    BlockedCells();
    bool Blocked(int i, int j) const;
    void Set(int i, int j) { cells_[Index(i, j)] = 1; }
    int CellsPerSide() const { return cellsPerSide_; }
    float CellX(int i) const;  // world coordinate of the cell's low corner

private:
    size_t Index(int i, int j) const { return static_cast<size_t>(j) * cellsPerSide_ + i; }
    int cellsPerSide_;
    std::vector<uint8_t> cells_;
};

struct Collision {
    Ms3dFile model;
    BlockedCells blocked;
};

// Fails only if the model outgrew the file format.
bool BuildCollision(const HeightGrid& grid, Collision* collision);

// The ring that keeps the player inside the sea: a band between these radii around the origin.
const float kRingInnerRadius = 232.0f;
const float kRingOuterRadius = 252.0f;

}  // namespace content
