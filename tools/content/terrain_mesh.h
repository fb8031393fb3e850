// The level's drawn surface: the terrain's mesh points (every kMeshStep units) joined into right
// triangles of every size, from half a chunk down to half a cell, each split only where it strays
// too far from the mesh points inside it. Near the heights where the eye sees outlines (the
// waterline, and the line where the ground sinks under the sand floor) it keeps to them closely,
// elsewhere more loosely: the same coastlines and silhouettes with far fewer triangles for the
// game to draw. A triangle is split exactly when its neighbour across the long edge is, within
// and across chunks, so the mesh has no cracks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/content/terrain.h"

namespace content {

class TerrainMesh {
public:
    struct Point {
        int i;  // along x
        int j;  // along z
    };
    struct Triangle {
        Point corners[3];
    };

    struct Accuracy {
        // The largest height difference allowed between a triangle and a mesh point it covers.
        float tolerance;
        // The same where the two lie within `outlineBand` of an outline height.
        float outlineTolerance;
        float outlineBand;
        float outlineHeights[2];
        // Points below this are hidden under the sand floor and need no accuracy where the
        // triangle is hidden too; triangles wholly below it are not drawn.
        float lowestShown;
    };

    TerrainMesh(const HeightGrid& grid, const Accuracy& accuracy);

    int PointsPerSide() const { return pointsPerSide_; }
    float PointHeight(int i, int j) const;
    float PointWorld(int m) const;

    // The drawn triangles of chunk (ci, cj), in a fixed order.
    std::vector<Triangle> ChunkTriangles(int ci, int cj) const;
    // Height of the drawn surface at a world point inside the mesh (the nearest edge's outside).
    float SurfaceHeight(float x, float z) const;

private:
    // A triangle of the hierarchy: the ends of its long edge and the corner opposite it.
    struct Node {
        Point a;
        Point b;
        Point apex;
        int level;  // 0 for a chunk's halves, one more for each halving
    };

    static Point Midpoint(const Node& node);
    static Node Child(const Node& node, int which);
    void ChunkRoots(int ci, int cj, Node roots[2]) const;
    bool Split(const Node& node) const;
    // Largest height difference between the triangle's plane and the points it covers, in units
    // of the tolerance there, counting only where one of the two shows above the sand floor.
    float Deviation(const Node& node) const;
    float HighestPoint(const Node& node) const;
    void AddErrors(const Node& node, int level);
    void Collect(const Node& node, std::vector<Triangle>* out) const;
    float& Error(Point p) { return errors_[static_cast<size_t>(p.j) * pointsPerSide_ + p.i]; }
    float Error(Point p) const { return errors_[static_cast<size_t>(p.j) * pointsPerSide_ + p.i]; }

    int pointsPerSide_;
    int cellsPerChunk_;
    int chunksPerSide_;
    int leafLevel_;  // the level of half cells, which are never split
    Accuracy accuracy_;
    std::vector<float> heights_;
    // Per mesh point, the largest deviation of any triangle whose long edge it splits, or of any
    // triangle below those: the point joins the mesh exactly when this exceeds 1.
    std::vector<float> errors_;
};

}  // namespace content
