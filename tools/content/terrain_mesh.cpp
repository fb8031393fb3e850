#include "tools/content/terrain_mesh.h"

#include <algorithm>
#include <cmath>

#include "tools/content/level_builder.h"

namespace content {

namespace {

int64_t Cross(TerrainMesh::Point o, TerrainMesh::Point u, TerrainMesh::Point v) {
    return int64_t{u.i - o.i} * (v.j - o.j) - int64_t{u.j - o.j} * (v.i - o.i);
}

// Whether mesh point p lies in the triangle (a, b, c), edges included: exact, on integers.
bool Covers(TerrainMesh::Point a, TerrainMesh::Point b, TerrainMesh::Point c,
            TerrainMesh::Point p) {
    const int64_t d1 = Cross(a, b, p);
    const int64_t d2 = Cross(b, c, p);
    const int64_t d3 = Cross(c, a, p);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

// The weights of a, b and c at (x, z), in mesh units.
void Weights(TerrainMesh::Point a, TerrainMesh::Point b, TerrainMesh::Point c, double x, double z,
             double w[3]) {
    const double area = static_cast<double>(Cross(a, b, c));
    w[0] = ((b.i - x) * (c.j - z) - (b.j - z) * (c.i - x)) / area;
    w[1] = ((c.i - x) * (a.j - z) - (c.j - z) * (a.i - x)) / area;
    w[2] = 1.0 - w[0] - w[1];
}

int Log2(int value) {
    int log = 0;
    while ((1 << log) < value) {
        ++log;
    }
    return log;
}

}  // namespace

TerrainMesh::TerrainMesh(const HeightGrid& grid, const Accuracy& accuracy)
    : pointsPerSide_(static_cast<int>(2.0f * HeightGrid::kGridHalfSize / kMeshStep) + 1),
      cellsPerChunk_(static_cast<int>(kChunkSize / kMeshStep)),
      chunksPerSide_((pointsPerSide_ - 1) / cellsPerChunk_),
      leafLevel_(2 * Log2(cellsPerChunk_)),
      accuracy_(accuracy),
      heights_(static_cast<size_t>(pointsPerSide_) * pointsPerSide_),
      errors_(heights_.size(), 0.0f) {
    const int step = static_cast<int>(kMeshStep / HeightGrid::kGridStep);
    for (int j = 0; j < pointsPerSide_; ++j) {
        for (int i = 0; i < pointsPerSide_; ++i) {
            heights_[static_cast<size_t>(j) * pointsPerSide_ + i] = grid.Sample(i * step, j * step);
        }
    }
    // Smallest triangles first, over every chunk at once: a point on a chunk's edge takes the
    // errors of both chunks' triangles before any larger triangle reads it.
    for (int level = leafLevel_ - 1; level >= 0; --level) {
        for (int cj = 0; cj < chunksPerSide_; ++cj) {
            for (int ci = 0; ci < chunksPerSide_; ++ci) {
                Node roots[2];
                ChunkRoots(ci, cj, roots);
                AddErrors(roots[0], level);
                AddErrors(roots[1], level);
            }
        }
    }
}

float TerrainMesh::PointHeight(int i, int j) const {
    return heights_[static_cast<size_t>(j) * pointsPerSide_ + i];
}

float TerrainMesh::PointWorld(int m) const {
    return -HeightGrid::kGridHalfSize + m * kMeshStep;
}

TerrainMesh::Point TerrainMesh::Midpoint(const Node& node) {
    return Point{(node.a.i + node.b.i) / 2, (node.a.j + node.b.j) / 2};
}

TerrainMesh::Node TerrainMesh::Child(const Node& node, int which) {
    const Point m = Midpoint(node);
    if (which == 0) {
        return Node{node.apex, node.a, m, node.level + 1};
    }
    return Node{node.b, node.apex, m, node.level + 1};
}

void TerrainMesh::ChunkRoots(int ci, int cj, Node roots[2]) const {
    const int i0 = ci * cellsPerChunk_;
    const int j0 = cj * cellsPerChunk_;
    const int s = cellsPerChunk_;
    // Halves along the diagonal from (i0, j0) to (i0 + s, j0 + s), as every cell of a full grid.
    roots[0] = Node{{i0, j0}, {i0 + s, j0 + s}, {i0 + s, j0}, 0};
    roots[1] = Node{{i0 + s, j0 + s}, {i0, j0}, {i0, j0 + s}, 0};
}

bool TerrainMesh::Split(const Node& node) const {
    return node.level < leafLevel_ && Error(Midpoint(node)) > 1.0f;
}

float TerrainMesh::Deviation(const Node& node) const {
    const Point corners[3] = {node.a, node.b, node.apex};
    const double h[3] = {PointHeight(node.a.i, node.a.j), PointHeight(node.b.i, node.b.j),
                         PointHeight(node.apex.i, node.apex.j)};
    const int iLow = std::min({node.a.i, node.b.i, node.apex.i});
    const int iHigh = std::max({node.a.i, node.b.i, node.apex.i});
    const int jLow = std::min({node.a.j, node.b.j, node.apex.j});
    const int jHigh = std::max({node.a.j, node.b.j, node.apex.j});
    double worst = 0.0;
    for (int j = jLow; j <= jHigh; ++j) {
        for (int i = iLow; i <= iHigh; ++i) {
            const Point p{i, j};
            if (!Covers(corners[0], corners[1], corners[2], p)) {
                continue;
            }
            double w[3];
            Weights(corners[0], corners[1], corners[2], i, j, w);
            const double plane = w[0] * h[0] + w[1] * h[1] + w[2] * h[2];
            const double height = PointHeight(i, j);
            const double low = std::min(plane, height);
            const double high = std::max(plane, height);
            if (high < accuracy_.lowestShown) {
                continue;  // both under the sand floor
            }
            double tolerance = accuracy_.tolerance;
            for (float outline : accuracy_.outlineHeights) {
                if (low - accuracy_.outlineBand <= outline &&
                    outline <= high + accuracy_.outlineBand) {
                    tolerance = accuracy_.outlineTolerance;
                }
            }
            worst = std::max(worst, (high - low) / tolerance);
        }
    }
    return static_cast<float>(worst);
}

float TerrainMesh::HighestPoint(const Node& node) const {
    const int iLow = std::min({node.a.i, node.b.i, node.apex.i});
    const int iHigh = std::max({node.a.i, node.b.i, node.apex.i});
    const int jLow = std::min({node.a.j, node.b.j, node.apex.j});
    const int jHigh = std::max({node.a.j, node.b.j, node.apex.j});
    float highest = -INFINITY;
    for (int j = jLow; j <= jHigh; ++j) {
        for (int i = iLow; i <= iHigh; ++i) {
            if (Covers(node.a, node.b, node.apex, Point{i, j})) {
                highest = std::max(highest, PointHeight(i, j));
            }
        }
    }
    return highest;
}

void TerrainMesh::AddErrors(const Node& node, int level) {
    if (node.level < level) {
        AddErrors(Child(node, 0), level);
        AddErrors(Child(node, 1), level);
        return;
    }
    float error = Deviation(node);
    if (node.level + 1 < leafLevel_) {
        // A split child needs its parent split, so that the neighbours across both long edges
        // agree on the points they share.
        error = std::max({error, Error(Midpoint(Child(node, 0))), Error(Midpoint(Child(node, 1)))});
    }
    float& stored = Error(Midpoint(node));
    stored = std::max(stored, error);
}

void TerrainMesh::Collect(const Node& node, std::vector<Triangle>* out) const {
    if (Split(node)) {
        Collect(Child(node, 0), out);
        Collect(Child(node, 1), out);
    } else if (HighestPoint(node) >= accuracy_.lowestShown) {
        out->push_back(Triangle{{node.a, node.apex, node.b}});
    }
}

std::vector<TerrainMesh::Triangle> TerrainMesh::ChunkTriangles(int ci, int cj) const {
    Node roots[2];
    ChunkRoots(ci, cj, roots);
    std::vector<Triangle> triangles;
    Collect(roots[0], &triangles);
    Collect(roots[1], &triangles);
    return triangles;
}

float TerrainMesh::SurfaceHeight(float x, float z) const {
    const double last = pointsPerSide_ - 1;
    const double fi = std::clamp(double{(x + HeightGrid::kGridHalfSize) / kMeshStep}, 0.0, last);
    const double fj = std::clamp(double{(z + HeightGrid::kGridHalfSize) / kMeshStep}, 0.0, last);
    const int ci = std::min(static_cast<int>(fi) / cellsPerChunk_, chunksPerSide_ - 1);
    const int cj = std::min(static_cast<int>(fj) / cellsPerChunk_, chunksPerSide_ - 1);
    Node roots[2];
    ChunkRoots(ci, cj, roots);
    // Below the diagonal (more x than z within the chunk) is the first half.
    Node node = (fi - ci * cellsPerChunk_) >= (fj - cj * cellsPerChunk_) ? roots[0] : roots[1];
    double w[3];
    while (Split(node)) {
        const Node first = Child(node, 0);
        Weights(first.a, first.b, first.apex, fi, fj, w);
        node = (w[0] >= 0.0 && w[1] >= 0.0 && w[2] >= 0.0) ? first : Child(node, 1);
    }
    Weights(node.a, node.b, node.apex, fi, fj, w);
    return static_cast<float>(w[0] * PointHeight(node.a.i, node.a.j) +
                              w[1] * PointHeight(node.b.i, node.b.j) +
                              w[2] * PointHeight(node.apex.i, node.apex.j));
}

}  // namespace content
