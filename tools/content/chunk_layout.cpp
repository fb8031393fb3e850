#include "tools/content/chunk_layout.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <map>
#include <numeric>
#include <utility>

#include "tools/content/world_constants.h"

namespace content {

namespace {

// A triangle on a slope chart's plane.
struct Flat {
    float a[3];
    float b[3];
};

// Whether two triangles of the upright plane overlap by more than a touch: a separating axis
// among their edges' normals, with a little slack so that neighbours sharing an edge pass.
bool Overlap(const Flat& p, const Flat& q) {
    const Flat* shapes[2] = {&p, &q};
    for (const Flat* shape : shapes) {
        for (int e = 0; e < 3; ++e) {
            const int f = (e + 1) % 3;
            const float nx = shape->b[f] - shape->b[e];
            const float ny = shape->a[e] - shape->a[f];
            float lowP = std::numeric_limits<float>::max();
            float highP = -lowP;
            float lowQ = lowP;
            float highQ = -lowP;
            for (int k = 0; k < 3; ++k) {
                const float dp = nx * p.a[k] + ny * p.b[k];
                const float dq = nx * q.a[k] + ny * q.b[k];
                lowP = std::min(lowP, dp);
                highP = std::max(highP, dp);
                lowQ = std::min(lowQ, dq);
                highQ = std::max(highQ, dq);
            }
            const float slack = 1e-4f * std::sqrt(nx * nx + ny * ny);
            if (highP <= lowQ + slack || highQ <= lowP + slack) {
                return false;
            }
        }
    }
    return true;
}

// Distance from point (px, py) to the segment (ax, ay)-(bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax;
    const float dy = by - ay;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0.0f ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Texture sizes to try, smallest first, up to 4:1; of two the same size the wider.
std::vector<std::pair<int, int>> TextureSizes() {
    std::vector<std::pair<int, int>> sizes;
    for (int w = 64; w <= ChunkLayout::kLargestSide; w *= 2) {
        for (const int h : {w / 4, w / 2, w, w * 2, w * 4}) {
            if (h >= 64 && h <= ChunkLayout::kLargestSide) {
                sizes.emplace_back(w, h);
            }
        }
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](const auto& p, const auto& q) {
        return p.first * p.second != q.first * q.second ? p.first * p.second < q.first * q.second
                                                        : p.first > q.first;
    });
    return sizes;
}

// A chunk's 32 units at this density fill the largest texture.
const float kMostDensity = 32.0f;

float Dot3(const float* p, const float* q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}

std::pair<int, int> EdgeKey(const LayoutTriangle& triangle, int k) {
    const int p = triangle.points[k];
    const int q = triangle.points[(k + 1) % 3];
    return {std::min(p, q), std::max(p, q)};
}

Flat FlatOf(const float* axisA, const float* axisB, const LayoutTriangle& triangle) {
    Flat f;
    for (int k = 0; k < 3; ++k) {
        f.a[k] = Dot3(axisA, triangle.corners[k]);
        f.b[k] = Dot3(axisB, triangle.corners[k]);
    }
    return f;
}

// A slope chart's faces on its plane while it grows, and their bounds.
struct Outline {
    std::vector<Flat> flats;
    float aLow;
    float aHigh;
    float bLow;
    float bHigh;
};

Outline OutlineOf(const Flat& first) {
    return Outline{{first},
                   *std::min_element(first.a, first.a + 3),
                   *std::max_element(first.a, first.a + 3),
                   *std::min_element(first.b, first.b + 3),
                   *std::max_element(first.b, first.b + 3)};
}

// Adds `flat` to the outline unless the chart would grow past `longest` either way or the face
// would overlap one already in it; whether it was added.
bool TryJoin(Outline* outline, const Flat& flat, float longest) {
    const float a0 = std::min(outline->aLow, *std::min_element(flat.a, flat.a + 3));
    const float a1 = std::max(outline->aHigh, *std::max_element(flat.a, flat.a + 3));
    const float b0 = std::min(outline->bLow, *std::min_element(flat.b, flat.b + 3));
    const float b1 = std::max(outline->bHigh, *std::max_element(flat.b, flat.b + 3));
    if (a1 - a0 > longest || b1 - b0 > longest ||
        std::any_of(outline->flats.begin(), outline->flats.end(),
                    [&](const Flat& other) { return Overlap(flat, other); })) {
        return false;
    }
    outline->aLow = a0;
    outline->aHigh = a1;
    outline->bLow = b0;
    outline->bHigh = b1;
    outline->flats.push_back(flat);
    return true;
}

const float kSlack = 1e-3f;

// A triangle's extent on the ground plane.
struct Box {
    float x0, z0, x1, z1;
};

bool Inside(const Box& b, float x, float z, float side) {
    return b.x0 >= x - kSlack && b.z0 >= z - kSlack && b.x1 <= x + side + kSlack &&
           b.z1 <= z + side + kSlack;
}

// The ground above the water that no slope chart took, to be seen from above.
struct Uncovered {
    std::vector<Box> boxes;   // every triangle's
    std::vector<int> needed;  // the triangles to cover
    std::vector<bool> shore;  // which of them reach into the shore band
};

Uncovered FindUncovered(const std::vector<LayoutTriangle>& triangles,
                        const std::vector<int>& chartOf) {
    Uncovered ground{
        std::vector<Box>(triangles.size()), {}, std::vector<bool>(triangles.size(), false)};
    for (size_t i = 0; i < triangles.size(); ++i) {
        const auto& c = triangles[i].corners;
        ground.boxes[i] = {
            std::min({c[0][0], c[1][0], c[2][0]}), std::min({c[0][2], c[1][2], c[2][2]}),
            std::max({c[0][0], c[1][0], c[2][0]}), std::max({c[0][2], c[1][2], c[2][2]})};
        if (chartOf[i] < 0 && std::max({c[0][1], c[1][1], c[2][1]}) > kWaterHeight) {
            ground.needed.push_back(static_cast<int>(i));
            ground.shore[i] =
                std::min({c[0][1], c[1][1], c[2][1]}) <= kWaterHeight + ChunkLayout::kShoreBand;
        }
    }
    return ground;
}

struct Square {
    float x, z, side;
    bool onShore;
};

// The smallest squares of a quadtree, down to `smallest`, that hold the ground with no
// triangle across two of them.
void CoverSquare(const Uncovered& ground, float x, float z, float side, float smallest,
                 std::vector<Square>* squares) {
    bool any = false;
    bool onShore = false;
    bool split = side > smallest;
    for (const int i : ground.needed) {
        if (!Inside(ground.boxes[i], x, z, side)) {
            continue;
        }
        any = true;
        onShore = onShore || ground.shore[i];
        const float half = side / 2.0f;
        bool inChild = false;
        for (int q = 0; q < 4; ++q) {
            inChild =
                inChild || Inside(ground.boxes[i], x + half * (q % 2), z + half * (q / 2), half);
        }
        split = split && inChild;
    }
    if (!any) {
        return;
    }
    if (!split) {
        squares->push_back({x, z, side, onShore});
        return;
    }
    const float half = side / 2.0f;
    for (int q = 0; q < 4; ++q) {
        CoverSquare(ground, x + half * (q % 2), z + half * (q / 2), half, smallest, squares);
    }
}

}  // namespace

ChunkLayout::ChunkLayout(float x0, float z0, float size,
                         const std::vector<LayoutTriangle>& triangles, const Options& options)
    : x0_(x0), z0_(z0), size_(size > 0.0f ? size : 1.0f), options_(options) {
    LimitOptions();
    chartOf_.assign(triangles.size(), -1);
    triangleCorners_.reserve(triangles.size() * 9);
    for (const LayoutTriangle& triangle : triangles) {
        for (const auto& corner : triangle.corners) {
            triangleCorners_.insert(triangleCorners_.end(), corner, corner + 3);
        }
    }
    const int largestInner = kLargestSide / 2 - 2 * options_.border - 1;
    if (options_.shoreDensity > 0.0f) {
        BuildSlopeCharts(triangles, static_cast<float>(largestInner) / options_.landDensity);
        CoverFromAbove(triangles);
    }
    if (std::count(chartOf_.begin(), chartOf_.end(), -1) > 0 || charts_.empty()) {
        AddCoarseSquare();
    }
    if (!PackSmallest()) {
        FallBackToCoarse();
    }
    MapSlopeTexels(triangles);
}

void ChunkLayout::LimitOptions() {
    options_.border = std::clamp(options_.border, 0, 8);
    options_.coarseSize = std::clamp(options_.coarseSize, 2 * options_.border + 2, kLargestSide);
    // No density (or none that makes sense): the coarse square alone. Densities past what a
    // texture holds are taken down to it.
    if (options_.shoreDensity > 0.0f && options_.landDensity > 0.0f) {
        options_.shoreDensity = std::min(options_.shoreDensity, kMostDensity);
        options_.landDensity = std::clamp(options_.landDensity, 1.0f, kMostDensity);
        options_.leastDensity = options_.leastDensity > 0.0f
                                    ? std::clamp(options_.leastDensity, 1.0f, options_.landDensity)
                                    : options_.landDensity;
    } else {
        options_.shoreDensity = options_.landDensity = options_.leastDensity = 0.0f;
    }
}

// The square under the water over the whole chunk, for every triangle no other chart took.
void ChunkLayout::AddCoarseSquare() {
    Chart coarse;
    coarse.x0 = x0_;
    coarse.z0 = z0_;
    coarse.side = size_;
    coarse.density = static_cast<float>(options_.coarseSize - 2 * options_.border - 1) / size_;
    const int number = static_cast<int>(charts_.size());
    charts_.push_back(coarse);
    for (int& chart : chartOf_) {
        if (chart < 0) {
            chart = number;
        }
    }
}

// The smallest texture that holds every chart, letting the land away from the shore give up some
// of its density before taking a larger one; false when even the largest cannot.
bool ChunkLayout::PackSmallest() {
    const float least =
        options_.shoreDensity > 0.0f ? options_.leastDensity / options_.landDensity : 1.0f;
    for (const auto& [w, h] : TextureSizes()) {
        for (float share = 1.0f;; share *= 0.97f) {
            SizeCharts(std::max(share, least));
            if (Pack(w, h)) {
                return true;
            }
            if (share <= least) {
                break;
            }
        }
    }
    return false;
}

// Too much for the largest texture (which a chunk's texels come nowhere near): the whole chunk
// falls back to its coarse square.
void ChunkLayout::FallBackToCoarse() {
    charts_.clear();
    chartOf_.assign(chartOf_.size(), -1);
    AddCoarseSquare();
    SizeCharts(1.0f);
    int side = 64;
    while (side < options_.coarseSize) {
        side *= 2;
    }
    Pack(side, side);
}

int ChunkLayout::SlopeCharts() const {
    return static_cast<int>(
        std::count_if(charts_.begin(), charts_.end(), [](const Chart& c) { return !c.fromAbove; }));
}

// Each triangle's upward unit normal, and whether it is above the water, on the shore band, and
// steep enough for a slope chart.
struct ChunkLayout::SlopeFaces {
    std::vector<float> normals;
    std::vector<bool> candidate;
    std::vector<bool> shore;
};

ChunkLayout::SlopeFaces ChunkLayout::ClassifyFaces(const std::vector<LayoutTriangle>& triangles) {
    const size_t count = triangles.size();
    SlopeFaces faces{std::vector<float>(count * 3, 0.0f), std::vector<bool>(count, false),
                     std::vector<bool>(count, false)};
    for (size_t i = 0; i < count; ++i) {
        const auto& c = triangles[i].corners;
        const float e1[3] = {c[1][0] - c[0][0], c[1][1] - c[0][1], c[1][2] - c[0][2]};
        const float e2[3] = {c[2][0] - c[0][0], c[2][1] - c[0][1], c[2][2] - c[0][2]};
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                      e1[0] * e2[1] - e1[1] * e2[0]};
        const float length = std::sqrt(Dot3(n, n)) * (n[1] < 0.0f ? -1.0f : 1.0f);
        const float highest = std::max({c[0][1], c[1][1], c[2][1]});
        if (length == 0.0f || highest <= kWaterHeight) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            faces.normals[i * 3 + k] = n[k] / length;
        }
        const float lowest = std::min({c[0][1], c[1][1], c[2][1]});
        faces.shore[i] = lowest <= kWaterHeight + kShoreBand;
        faces.candidate[i] = faces.normals[i * 3 + 1] < (faces.shore[i] ? kShoreSlope : kSteep);
    }
    return faces;
}

using EdgeMap = std::map<std::pair<int, int>, std::vector<int>>;

// The candidates by the edges they have, so that a chart grows across shared edges.
ChunkLayout::EdgeMap ChunkLayout::CandidatesByEdge(const std::vector<LayoutTriangle>& triangles,
                                                   const SlopeFaces& faces) {
    EdgeMap byEdge;
    for (size_t i = 0; i < triangles.size(); ++i) {
        for (int k = 0; faces.candidate[i] && k < 3; ++k) {
            byEdge[EdgeKey(triangles[i], k)].push_back(static_cast<int>(i));
        }
    }
    return byEdge;
}

void ChunkLayout::BuildSlopeCharts(const std::vector<LayoutTriangle>& triangles, float longest) {
    const SlopeFaces faces = ClassifyFaces(triangles);
    EdgeMap byEdge = CandidatesByEdge(triangles, faces);
    for (size_t seed = 0; seed < triangles.size(); ++seed) {
        if (faces.candidate[seed] && chartOf_[seed] < 0) {
            GrowSlopeChart(static_cast<int>(seed), triangles, faces, &byEdge, longest);
        }
    }
}

// A chart seeded by one face, taking in the neighbours across shared edges whose normals stay
// within kChartSpread of the seed's, as long as they fit.
void ChunkLayout::GrowSlopeChart(int seed, const std::vector<LayoutTriangle>& triangles,
                                 const SlopeFaces& faces, EdgeMap* byEdge, float longest) {
    Chart chart;
    chart.fromAbove = false;
    chart.density = options_.landDensity;
    const float* n = &faces.normals[static_cast<size_t>(seed) * 3];
    // Along the slope's contour, and up the slope: upright on a cliff.
    const float across = std::hypot(n[0], n[2]);
    chart.axisA[0] = n[2] / across;
    chart.axisA[2] = -n[0] / across;
    chart.axisB[0] = n[1] * chart.axisA[2];
    chart.axisB[1] = n[2] * chart.axisA[0] - n[0] * chart.axisA[2];
    chart.axisB[2] = -n[1] * chart.axisA[0];
    Outline outline = OutlineOf(FlatOf(chart.axisA, chart.axisB, triangles[seed]));
    const int number = static_cast<int>(charts_.size());
    chartOf_[seed] = number;
    chart.triangles.push_back(seed);
    chart.yields = !faces.shore[seed];
    std::deque<int> open{seed};
    while (!open.empty()) {
        const int at = open.front();
        open.pop_front();
        for (int k = 0; k < 3; ++k) {
            for (const int next : (*byEdge)[EdgeKey(triangles[at], k)]) {
                if (chartOf_[next] >= 0 ||
                    Dot3(&faces.normals[static_cast<size_t>(next) * 3], n) < kChartSpread ||
                    !TryJoin(&outline, FlatOf(chart.axisA, chart.axisB, triangles[next]),
                             longest)) {
                    continue;
                }
                chartOf_[next] = number;
                chart.triangles.push_back(next);
                chart.yields = chart.yields && !faces.shore[next];
                open.push_back(next);
            }
        }
    }
    chart.aLow = outline.aLow;
    chart.bHigh = outline.bHigh;
    chart.aExtent = outline.aHigh - outline.aLow;
    chart.bExtent = outline.bHigh - outline.bLow;
    charts_.push_back(std::move(chart));
}

// The ground above the water that no slope chart took, in squares seen from above: the shore
// band's take its density, the others the land's.
void ChunkLayout::CoverFromAbove(const std::vector<LayoutTriangle>& triangles) {
    const Uncovered ground = FindUncovered(triangles, chartOf_);
    std::vector<Square> squares;
    CoverSquare(ground, x0_, z0_, size_, size_ / 8.0f + kSlack, &squares);
    for (const Square& found : squares) {
        Chart square;
        square.x0 = found.x;
        square.z0 = found.z;
        square.side = found.side;
        square.density = found.onShore ? options_.shoreDensity : options_.landDensity;
        square.yields = !found.onShore;
        const int number = static_cast<int>(charts_.size());
        for (size_t i = 0; i < triangles.size(); ++i) {
            if (chartOf_[i] < 0 && Inside(ground.boxes[i], square.x0, square.z0, square.side)) {
                chartOf_[i] = number;
            }
        }
        charts_.push_back(std::move(square));
    }
}

void ChunkLayout::SizeCharts(float share) {
    const int largestInner = kLargestSide / 2 - 2 * options_.border;
    for (Chart& chart : charts_) {
        const float density = chart.yields ? chart.density * share : chart.density;
        if (chart.fromAbove) {
            // Texel centres on the square's edges.
            const int inner = static_cast<int>(std::lround(chart.side * density)) + 1;
            chart.innerWidth = chart.innerHeight = std::clamp(inner, 2, largestInner);
            chart.scale = static_cast<float>(chart.innerWidth - 1) / chart.side;
        } else {
            chart.innerWidth = static_cast<int>(std::ceil(chart.aExtent * density)) + 1;
            chart.innerHeight = static_cast<int>(std::ceil(chart.bExtent * density)) + 1;
            chart.scale = density;
        }
    }
}

bool ChunkLayout::Pack(int width, int height) {
    const int border = options_.border;
    std::vector<int> order(charts_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int p, int q) {
        if (charts_[p].innerHeight != charts_[q].innerHeight) {
            return charts_[p].innerHeight > charts_[q].innerHeight;
        }
        return charts_[p].innerWidth > charts_[q].innerWidth;
    });
    // Tallest first, each where it rests lowest on the skyline of those placed before it (the
    // leftmost of equals).
    std::vector<int> skyline(static_cast<size_t>(width), 0);
    for (const int c : order) {
        Chart& chart = charts_[c];
        const int w = chart.innerWidth + 2 * border;
        const int h = chart.innerHeight + 2 * border;
        if (w > width) {
            return false;
        }
        int bestX = -1;
        int bestY = height;
        for (int x = 0; x + w <= width; ++x) {
            const int y = *std::max_element(skyline.begin() + x, skyline.begin() + x + w);
            if (y < bestY) {
                bestY = y;
                bestX = x;
            }
        }
        if (bestX < 0 || bestY + h > height) {
            return false;
        }
        chart.x = bestX;
        chart.y = bestY;
        std::fill(skyline.begin() + bestX, skyline.begin() + bestX + w, bestY + h);
    }
    width_ = width;
    height_ = height;
    return true;
}

void ChunkLayout::ChartTexel(const Chart& chart, const float* corner, float* u, float* v) const {
    const float left = static_cast<float>(chart.x + options_.border) + 0.5f;
    const float top = static_cast<float>(chart.y + options_.border) + 0.5f;
    if (chart.fromAbove) {
        *u = left + (corner[0] - chart.x0) * chart.scale;
        *v = top + (chart.z0 + chart.side - corner[2]) * chart.scale;  // north at the top
    } else {
        *u = left + (Dot3(chart.axisA, corner) - chart.aLow) * chart.scale;
        *v = top + (chart.bHigh - Dot3(chart.axisB, corner)) * chart.scale;
    }
}

void ChunkLayout::MapSlopeTexels(const std::vector<LayoutTriangle>& triangles) {
    const size_t texels = static_cast<size_t>(width_) * height_;
    texelChart_.assign(texels, -1);
    texelWorld_.assign(texels * 2, 0.0f);
    std::vector<float> nearest(texels, std::numeric_limits<float>::max());
    const int border = options_.border;
    for (size_t number = 0; number < charts_.size(); ++number) {
        const Chart& chart = charts_[number];
        const int right = chart.x + chart.innerWidth + 2 * border;
        const int bottom = chart.y + chart.innerHeight + 2 * border;
        for (int py = chart.y; py < bottom; ++py) {
            for (int px = chart.x; px < right; ++px) {
                const size_t at = static_cast<size_t>(py) * width_ + px;
                texelChart_[at] = static_cast<int>(number);
                texelWorld_[2 * at] = x0_ + size_ / 2;
                texelWorld_[2 * at + 1] = z0_ + size_ / 2;
            }
        }
        for (const int i : chart.triangles) {
            MapTriangleTexels(chart, triangles[i], &nearest);
        }
    }
}

// The world point of each texel of the chart near the face, where the face is the nearest yet:
// past an edge the face's plane goes on, close to where the neighbouring face lies.
void ChunkLayout::MapTriangleTexels(const Chart& chart, const LayoutTriangle& triangle,
                                    std::vector<float>* nearest) {
    const int reach = options_.border + 1;
    const int right = chart.x + chart.innerWidth + 2 * options_.border;
    const int bottom = chart.y + chart.innerHeight + 2 * options_.border;
    const auto& c = triangle.corners;
    float u[3];
    float v[3];
    for (int k = 0; k < 3; ++k) {
        ChartTexel(chart, c[k], &u[k], &v[k]);
    }
    const float area = (u[1] - u[0]) * (v[2] - v[0]) - (u[2] - u[0]) * (v[1] - v[0]);
    if (area == 0.0f) {
        return;
    }
    const int xLow =
        std::max(chart.x, static_cast<int>(std::floor(*std::min_element(u, u + 3))) - reach);
    const int xHigh =
        std::min(right - 1, static_cast<int>(std::floor(*std::max_element(u, u + 3))) + reach);
    const int yLow =
        std::max(chart.y, static_cast<int>(std::floor(*std::min_element(v, v + 3))) - reach);
    const int yHigh =
        std::min(bottom - 1, static_cast<int>(std::floor(*std::max_element(v, v + 3))) + reach);
    for (int py = yLow; py <= yHigh; ++py) {
        for (int px = xLow; px <= xHigh; ++px) {
            const float cu = px + 0.5f;
            const float cv = py + 0.5f;
            float w[3];
            w[0] = ((u[1] - cu) * (v[2] - cv) - (u[2] - cu) * (v[1] - cv)) / area;
            w[1] = ((u[2] - cu) * (v[0] - cv) - (u[0] - cu) * (v[2] - cv)) / area;
            w[2] = 1.0f - w[0] - w[1];
            float distance = 0.0f;
            if (w[0] < 0.0f || w[1] < 0.0f || w[2] < 0.0f) {
                distance = std::min({SegmentDistance(cu, cv, u[0], v[0], u[1], v[1]),
                                     SegmentDistance(cu, cv, u[1], v[1], u[2], v[2]),
                                     SegmentDistance(cu, cv, u[2], v[2], u[0], v[0])});
            }
            const size_t at = static_cast<size_t>(py) * width_ + px;
            if (distance < (*nearest)[at]) {
                (*nearest)[at] = distance;
                texelWorld_[2 * at] = w[0] * c[0][0] + w[1] * c[1][0] + w[2] * c[2][0];
                texelWorld_[2 * at + 1] = w[0] * c[0][2] + w[1] * c[1][2] + w[2] * c[2][2];
            }
        }
    }
}

void ChunkLayout::TexCoord(int triangle, int corner, float* s, float* t) const {
    const float* p = &triangleCorners_[(static_cast<size_t>(triangle) * 3 + corner) * 3];
    float u;
    float v;
    ChartTexel(charts_[chartOf_[triangle]], p, &u, &v);
    *s = u / static_cast<float>(width_);
    *t = v / static_cast<float>(height_);
}

void ChunkLayout::WorldPoint(int x, int y, float* wx, float* wz) const {
    const size_t at = static_cast<size_t>(y) * width_ + x;
    const int number = texelChart_[at];
    if (number >= 0 && charts_[number].fromAbove) {
        // The border goes on across the square's edges.
        const Chart& chart = charts_[number];
        *wx = chart.x0 + static_cast<float>(x - chart.x - options_.border) / chart.scale;
        *wz =
            chart.z0 + chart.side - static_cast<float>(y - chart.y - options_.border) / chart.scale;
        return;
    }
    *wx = number >= 0 ? texelWorld_[2 * at] : x0_ + size_ / 2;
    *wz = number >= 0 ? texelWorld_[2 * at + 1] : z0_ + size_ / 2;
}

}  // namespace content
