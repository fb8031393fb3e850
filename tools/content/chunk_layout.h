// Where each part of a level chunk's surface lies in the chunk's texture: a small atlas of
// charts, each a rectangle of texels with a linear map from the surface.
// - Ground above the water that is fairly flat is seen from above: squares of 4 to 32 units (as
//   small as the triangles over them allow) projected top-down, densest on the shore band.
// - Slopes above the water, too steep for that (a cliff would get a thin strip of texels down
//   its face), get charts of adjacent faces that face about the same way, each projected onto
//   the plane across its first face's normal, so that a texel covers close to a square of the
//   slope; on cliffs that plane is upright and the rows of texels follow the height.
// - The rest, under the water, shares one coarse square over the whole chunk.
// The charts are packed into the smallest power-of-two texture that holds them.
// Every texel is tied to the world point it shows (WorldPoint); painting each texel from its
// point makes both sides of every seam the same colour. Each chart carries a border of texels
// that continue its surface past its edges, so that bilinear filtering reads the surface beyond
// an edge rather than a neighbouring chart's texels.
#pragma once

#include <map>
#include <utility>
#include <vector>

namespace content {

struct LayoutTriangle {
    float corners[3][3];  // world x, y, z
    int points[3];        // mesh point numbers: triangles sharing two are neighbours
};

class ChunkLayout {
public:
    struct Options {
        // Texels per unit from above on the shore band (ground whose lowest point is within
        // 1.5 units of the water); 0 for a chunk with nothing above the water.
        float shoreDensity;
        // Elsewhere above the water and on slopes, and how far that may give way on a chunk
        // crowded with slopes before it takes a larger texture.
        float landDensity;
        float leastDensity;
        int coarseSize;  // texels along the side of the square under the water
        int border;      // texels around each chart
    };

    // Faces reaching above the water get slope charts where their normal's y is below the
    // first (steep faces, which from above would show a thin strip of texels down the slope),
    // and on the shore band below the second (fewer than 12 texels a unit down the slope).
    static constexpr float kSteep = 0.5f;
    static constexpr float kShoreSlope = 0.77f;
    static constexpr float kShoreBand = 1.5f;
    // Faces join a chart while their normal stays within 20 degrees of its first face's, which
    // keeps a texel within 1.07:1 on the surface.
    static constexpr float kChartSpread = 0.9397f;
    // The largest texture side the game's devices take.
    static constexpr int kLargestSide = 1024;

    // The chunk covers [x0, x0 + size] x [z0, z0 + size] in world x and z.
    ChunkLayout(float x0, float z0, float size, const std::vector<LayoutTriangle>& triangles,
                const Options& options);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int SlopeCharts() const;

    // Texture coordinates of a triangle's corner, in [0, 1].
    void TexCoord(int triangle, int corner, float* s, float* t) const;
    // The world point (x, z) texel (x, y) shows; for texels outside every chart, some point of
    // the chunk.
    void WorldPoint(int x, int y, float* wx, float* wz) const;

private:
    struct Chart {
        bool fromAbove = true;
        // From above: the square's north-west corner and side. On a slope: the plane's axes.
        float x0 = 0.0f;
        float z0 = 0.0f;
        float side = 0.0f;
        float axisA[3] = {0.0f, 0.0f, 0.0f};
        float axisB[3] = {0.0f, 0.0f, 0.0f};
        float aLow = 0.0f;
        float bHigh = 0.0f;
        float aExtent = 0.0f;
        float bExtent = 0.0f;
        float density = 0.0f;        // texels per unit asked for
        bool yields = false;         // whether the density may give way
        float scale = 0.0f;          // texels per unit given
        std::vector<int> triangles;  // on a slope
        // In the texture: the rectangle's corner (border included) and the texels inside it.
        int x = 0;
        int y = 0;
        int innerWidth = 0;
        int innerHeight = 0;
    };

    void LimitOptions();
    void AddCoarseSquare();
    bool PackSmallest();
    void FallBackToCoarse();
    struct SlopeFaces;
    using EdgeMap = std::map<std::pair<int, int>, std::vector<int>>;
    static SlopeFaces ClassifyFaces(const std::vector<LayoutTriangle>& triangles);
    static EdgeMap CandidatesByEdge(const std::vector<LayoutTriangle>& triangles,
                                    const SlopeFaces& faces);
    void BuildSlopeCharts(const std::vector<LayoutTriangle>& triangles, float longest);
    void GrowSlopeChart(int seed, const std::vector<LayoutTriangle>& triangles,
                        const SlopeFaces& faces, EdgeMap* byEdge, float longest);
    void CoverFromAbove(const std::vector<LayoutTriangle>& triangles);
    void SizeCharts(float share);
    bool Pack(int width, int height);
    void MapSlopeTexels(const std::vector<LayoutTriangle>& triangles);
    void MapTriangleTexels(const Chart& chart, const LayoutTriangle& triangle,
                           std::vector<float>* nearest);
    void ChartTexel(const Chart& chart, const float* corner, float* u, float* v) const;

    float x0_, z0_, size_;
    Options options_;
    int width_ = 0;
    int height_ = 0;
    std::vector<int> chartOf_;
    std::vector<Chart> charts_;
    std::vector<float> triangleCorners_;  // world corners of every triangle, for TexCoord
    // Per texel, the chart it belongs to (-1 for none), and for slope charts the world point.
    std::vector<int> texelChart_;
    std::vector<float> texelWorld_;
};

}  // namespace content
