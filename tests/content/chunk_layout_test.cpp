// The chunk texture layout on small made-up chunks: what a texel shows is where it lies on the
// surface, cliffs get texels as square as the flat, and charts keep to their own texels.
#include "tools/content/chunk_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "d3dx/texture_fitting.h"

namespace {

using content::ChunkLayout;
using content::LayoutTriangle;

const int kCells = 32;
const ChunkLayout::Options kLand = {16.0f, 13.5f, 12.5f, 64, 2};

// A chunk of unit cells, each cut into two triangles, with heights from `height`.
std::vector<LayoutTriangle> GridChunk(const std::function<float(float, float)>& height) {
    std::vector<LayoutTriangle> triangles;
    auto corner = [&](LayoutTriangle* t, int k, int i, int j) {
        t->corners[k][0] = static_cast<float>(i);
        t->corners[k][1] = height(static_cast<float>(i), static_cast<float>(j));
        t->corners[k][2] = static_cast<float>(j);
        t->points[k] = j * (kCells + 1) + i;
    };
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            LayoutTriangle a;
            LayoutTriangle b;
            corner(&a, 0, i, j);
            corner(&a, 1, i + 1, j);
            corner(&a, 2, i + 1, j + 1);
            corner(&b, 0, i, j);
            corner(&b, 1, i + 1, j + 1);
            corner(&b, 2, i, j + 1);
            triangles.push_back(a);
            triangles.push_back(b);
        }
    }
    return triangles;
}

// Sea floor rising to a 12-unit cliff across x = 14..17, flat land above.
float Cliff(float x, float /*z*/) {
    const float t = std::clamp((x - 14.0f) / 3.0f, 0.0f, 1.0f);
    return -5.0f + 0.2f * x + 12.0f * t;
}

// Texel coordinates (in texels) of a point given by weights over a triangle's corners.
void TexelAt(const ChunkLayout& layout, int triangle, const float w[3], float* u, float* v) {
    *u = 0.0f;
    *v = 0.0f;
    for (int k = 0; k < 3; ++k) {
        float s;
        float t;
        layout.TexCoord(triangle, k, &s, &t);
        *u += w[k] * s * layout.Width();
        *v += w[k] * t * layout.Height();
    }
}

TEST(ChunkLayoutTest, EveryTexelShowsThePointOfTheSurfaceItLiesOn) {
    // Seams are hidden only if a texel is painted from where it is drawn: sample points inside
    // every triangle, and the texel under each must show a point within about a texel of it.
    const std::vector<LayoutTriangle> triangles = GridChunk(Cliff);
    const ChunkLayout layout(0.0f, 0.0f, 32.0f, triangles, kLand);
    ASSERT_GT(layout.SlopeCharts(), 0);
    EXPECT_TRUE(IsPowerOfTwo(layout.Width()) && IsPowerOfTwo(layout.Height()));
    EXPECT_LE(std::max(layout.Width(), layout.Height()), ChunkLayout::kLargestSide);
    const float weights[4][3] = {
        {1 / 3.f, 1 / 3.f, 1 / 3.f}, {0.8f, 0.1f, 0.1f}, {0.1f, 0.8f, 0.1f}, {0.1f, 0.1f, 0.8f}};
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto& c = triangles[i].corners;
        const float e1[3] = {c[1][0] - c[0][0], c[1][1] - c[0][1], c[1][2] - c[0][2]};
        const float e2[3] = {c[2][0] - c[0][0], c[2][1] - c[0][1], c[2][2] - c[0][2]};
        const float surface =
            std::hypot(e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                       e1[0] * e2[1] - e1[1] * e2[0]);
        float u[3];
        float v[3];
        for (int k = 0; k < 3; ++k) {
            layout.TexCoord(static_cast<int>(i), k, &u[k], &v[k]);
            u[k] *= layout.Width();
            v[k] *= layout.Height();
        }
        const float texels =
            std::fabs((u[1] - u[0]) * (v[2] - v[0]) - (u[2] - u[0]) * (v[1] - v[0]));
        // Half a texel's diagonal, and some, at the triangle's own density.
        const float texel = 1.0f / std::sqrt(texels / surface);
        for (const auto& w : weights) {
            float u;
            float v;
            TexelAt(layout, static_cast<int>(i), w, &u, &v);
            ASSERT_GE(u, 0.0f);
            ASSERT_GE(v, 0.0f);
            ASSERT_LT(u, layout.Width());
            ASSERT_LT(v, layout.Height());
            float wx;
            float wz;
            layout.WorldPoint(static_cast<int>(u), static_cast<int>(v), &wx, &wz);
            const float x = w[0] * c[0][0] + w[1] * c[1][0] + w[2] * c[2][0];
            const float z = w[0] * c[0][2] + w[1] * c[1][2] + w[2] * c[2][2];
            EXPECT_LT(std::hypot(wx - x, wz - z), texel) << "triangle " << i;
        }
    }
}

TEST(ChunkLayoutTest, CliffTexelsAreAsSquareAndAsDenseAsTheFlat) {
    const std::vector<LayoutTriangle> triangles = GridChunk(Cliff);
    const ChunkLayout layout(0.0f, 0.0f, 32.0f, triangles, kLand);
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto& c = triangles[i].corners;
        if (i % 2 == 1 || c[0][0] < 14.0f || c[1][0] > 17.0f) {
            continue;  // off the cliff, or the cell's other half
        }
        // Along the cliff (z) and down it: texels per unit of surface.
        float s[3];
        float t[3];
        for (int k = 0; k < 3; ++k) {
            layout.TexCoord(static_cast<int>(i), k, &s[k], &t[k]);
        }
        // Corners 0 and 1 run down the x axis of the cell (over the cliff's face), 1 and 2 along z.
        const float down = std::hypot(c[1][0] - c[0][0], c[1][1] - c[0][1]);
        const float texelsDown =
            std::hypot((s[1] - s[0]) * layout.Width(), (t[1] - t[0]) * layout.Height()) / down;
        const float texelsAlong =
            std::hypot((s[2] - s[1]) * layout.Width(), (t[2] - t[1]) * layout.Height()) /
            std::fabs(c[2][2] - c[1][2]);
        EXPECT_GE(std::min(texelsDown, texelsAlong), 12.0f) << "triangle " << i;
        EXPECT_LE(std::max(texelsDown, texelsAlong) / std::min(texelsDown, texelsAlong), 1.1f)
            << "triangle " << i;
    }
}

TEST(ChunkLayoutTest, NoTwoTrianglesShareATexelInside) {
    // Texel centres well inside a triangle belong to it alone, or one painting would show on
    // two parts of the surface.
    const std::vector<LayoutTriangle> triangles = GridChunk(Cliff);
    const ChunkLayout layout(0.0f, 0.0f, 32.0f, triangles, kLand);
    std::vector<int> owner(static_cast<size_t>(layout.Width()) * layout.Height(), -1);
    int claimed = 0;
    for (size_t i = 0; i < triangles.size(); ++i) {
        float u[3];
        float v[3];
        for (int k = 0; k < 3; ++k) {
            layout.TexCoord(static_cast<int>(i), k, &u[k], &v[k]);
            u[k] *= layout.Width();
            v[k] *= layout.Height();
        }
        const float area = (u[1] - u[0]) * (v[2] - v[0]) - (u[2] - u[0]) * (v[1] - v[0]);
        ASSERT_NE(area, 0.0f) << "triangle " << i;
        for (int y = static_cast<int>(*std::min_element(v, v + 3));
             y <= static_cast<int>(*std::max_element(v, v + 3)); ++y) {
            for (int x = static_cast<int>(*std::min_element(u, u + 3));
                 x <= static_cast<int>(*std::max_element(u, u + 3)); ++x) {
                const float cu = x + 0.5f;
                const float cv = y + 0.5f;
                const float w0 = ((u[1] - cu) * (v[2] - cv) - (u[2] - cu) * (v[1] - cv)) / area;
                const float w1 = ((u[2] - cu) * (v[0] - cv) - (u[0] - cu) * (v[2] - cv)) / area;
                if (std::min({w0, w1, 1.0f - w0 - w1}) < 0.05f) {
                    continue;
                }
                int& o = owner[static_cast<size_t>(y) * layout.Width() + x];
                EXPECT_EQ(o, -1) << "texel " << x << ", " << y << ": triangles " << o << " and "
                                 << i;
                o = static_cast<int>(i);
                ++claimed;
            }
        }
    }
    EXPECT_GT(claimed, 50000);
}

TEST(ChunkLayoutTest, GroundUnderWaterAndEmptyChunksTakeTheCoarseSquare) {
    const ChunkLayout deep(0.0f, 0.0f, 32.0f, GridChunk([](float, float) { return -4.0f; }), kLand);
    EXPECT_EQ(deep.Width(), 64);
    EXPECT_EQ(deep.Height(), 64);
    EXPECT_EQ(deep.SlopeCharts(), 0);
    // Nothing to lay out, or unusable options: still a texture, every texel some point.
    const ChunkLayout empty(0.0f, 0.0f, 32.0f, {}, {NAN, -3.0f, NAN, 100000, -4});
    EXPECT_TRUE(IsPowerOfTwo(empty.Width()) && IsPowerOfTwo(empty.Height()));
    EXPECT_LE(empty.Width(), ChunkLayout::kLargestSide);
    float wx = NAN;
    float wz = NAN;
    empty.WorldPoint(empty.Width() - 1, empty.Height() - 1, &wx, &wz);
    EXPECT_TRUE(std::isfinite(wx) && std::isfinite(wz));
}

}  // namespace
