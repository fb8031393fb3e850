#include "tools/content/world_map.h"

#include <cmath>

#include "tools/content/level_builder.h"
#include "tools/content/parallel_rows.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const float kMapHalfSize = 250.0f;

const Color kDeepSea = Rgb(40, 104, 150);
const Color kShallowSea = Rgb(96, 182, 196);
const Color kBlockedEdge = Rgb(220, 40, 40);
const Color kTreeDot = Rgb(20, 70, 24);
const Color kTreeRim = Rgb(200, 240, 160);
const Color kStart = Rgb(255, 220, 40);
const Color kSpray = Rgb(255, 120, 20);
const Color kOutline = Rgb(16, 16, 16);

struct MapFrame {
    int size;
    float WorldX(float px) const {
        return -kMapHalfSize + (px + 0.5f) * 2.0f * kMapHalfSize / size;
    }
    float WorldZ(float py) const { return kMapHalfSize - (py + 0.5f) * 2.0f * kMapHalfSize / size; }
    float PixelX(float x) const { return (x + kMapHalfSize) * size / (2.0f * kMapHalfSize) - 0.5f; }
    float PixelY(float z) const { return (kMapHalfSize - z) * size / (2.0f * kMapHalfSize) - 0.5f; }
};

void Disc(Image* image, float cx, float cy, float radius, const Color& color) {
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y) {
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1);
             ++x) {
            if (x < 0 || y < 0 || x >= image->Width() || y >= image->Height()) {
                continue;
            }
            if (std::hypot(x - cx, y - cy) <= radius) {
                image->Set(x, y, color);
            }
        }
    }
}

void Line(Image* image, float x0, float y0, float x1, float y1, float width, const Color& color,
          float dash = 0.0f) {
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int steps = static_cast<int>(length * 2.0f) + 1;
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / steps;
        if (dash > 0.0f && std::fmod(t * length, 2.0f * dash) > dash) {
            continue;
        }
        Disc(image, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width * 0.5f, color);
    }
}

int CellOf(float world) {
    return static_cast<int>(std::floor((world + HeightGrid::kGridHalfSize) / kMeshStep));
}

}  // namespace

Image PaintWorldMap(const HeightGrid& grid, const SurfacePainter& painter,
                    const BlockedCells& blocked, const std::vector<TreeFoot>& trees, int size) {
    const MapFrame frame{size};
    Image image(size, size);
    auto blockedAt = [&](float x, float z) {
        const float r = std::hypot(x, z);
        if (r >= kRingInnerRadius && r <= kRingOuterRadius) {
            return true;
        }
        return blocked.Blocked(CellOf(x), CellOf(z));
    };
    PaintImage(&image, [&](int px, int py) {
        const float x = frame.WorldX(static_cast<float>(px));
        const float z = frame.WorldZ(static_cast<float>(py));
        const float h = grid.Height(x, z);
        Color c;
        if (h >= kWaterHeight) {
            c = painter.ColorAt(x, z);
        } else if (h >= kBlockingHeight) {
            c = Mix(kShallowSea, painter.ColorAt(x, z), 0.35f);
        } else {
            c = Mix(kDeepSea, kShallowSea,
                    SmoothStep(kSandHeight - 1.0f, kBlockingHeight, h) * 0.5f);
        }
        // The blocked area's edge, and hatching over the ring.
        const float r = std::hypot(x, z);
        if (r >= kRingInnerRadius && r <= kRingOuterRadius && ((px + py) / 3) % 3 == 0) {
            c = Mix(c, kBlockedEdge, 0.7f);
        }
        const float pixel = 2.0f * kMapHalfSize / size;
        if (blockedAt(x, z)) {
            const bool edge = !blockedAt(x + pixel, z) || !blockedAt(x - pixel, z) ||
                              !blockedAt(x, z + pixel) || !blockedAt(x, z - pixel);
            if (edge) {
                c = kBlockedEdge;
            }
        }
        return c;
    });

    for (const TreeFoot& t : trees) {
        Disc(&image, frame.PixelX(t.x), frame.PixelY(t.z), 3.2f, kTreeRim);
        Disc(&image, frame.PixelX(t.x), frame.PixelY(t.z), 2.2f, kTreeDot);
    }
    // The spray's source in the crater.
    Disc(&image, frame.PixelX(kSprayX), frame.PixelY(kSprayZ), 5.0f, kOutline);
    Disc(&image, frame.PixelX(kSprayX), frame.PixelY(kSprayZ), 3.8f, kSpray);
    // Start point and ten seconds of drift at 60 frames a second.
    const float driftEnd = kStartX + kDriftPerFrame * 600.0f;
    Line(&image, frame.PixelX(kStartX), frame.PixelY(kStartZ), frame.PixelX(driftEnd),
         frame.PixelY(kStartZ), 2.0f, kStart, 4.0f);
    const float tipX = frame.PixelX(driftEnd);
    const float tipY = frame.PixelY(kStartZ);
    Line(&image, tipX, tipY, tipX - 7.0f, tipY - 5.0f, 2.0f, kStart);
    Line(&image, tipX, tipY, tipX - 7.0f, tipY + 5.0f, 2.0f, kStart);
    Disc(&image, frame.PixelX(kStartX), frame.PixelY(kStartZ), 6.5f, kOutline);
    Disc(&image, frame.PixelX(kStartX), frame.PixelY(kStartZ), 5.0f, kStart);
    return image;
}

}  // namespace content
