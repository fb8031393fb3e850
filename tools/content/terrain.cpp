#include "tools/content/terrain.h"

#include <algorithm>
#include <cmath>

#include "tools/content/color.h"
#include "tools/content/noise.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

// The volcano's crater rim and floor; the spray rises from the middle of the crater.
const float kRimRadius = 8.5f;
const float kRimHeight = 25.5f;
const float kCraterFloor = 18.0f;
const float kConeFoot = 27.0f;  // distance from the crater centre where the cone meets the sea

// Below the shore line the island slopes down to the deep floor over this fraction of its
// radius.
const float kUnderwaterReach = 0.3f;

const int kShadowSteps = 60;  // half-unit steps toward the sun

float Underwater(float t) {
    return kWaterHeight +
           (HeightGrid::kDeepFloor - kWaterHeight) * SmoothStep(1.0f, 1.0f + kUnderwaterReach, t);
}

// Distance from the island centre relative to its roughened shore line: below 1 is land.
float ShoreRatio(const Island& island, float x, float z, float roughness) {
    const float dx = x - island.x;
    const float dz = z - island.z;
    const float d = std::sqrt(dx * dx + dz * dz);
    const float scale = island.radius * 0.9f;
    const float wobble = FractalNoise(x / scale, z / scale, island.seed, 3);
    return d / (island.radius * (1.0f + roughness * wobble));
}

float GrassyHeight(const Island& island, float x, float z) {
    const float t = ShoreRatio(island, x, z, 0.22f);
    if (t >= 1.0f) {
        return Underwater(t);
    }
    const float u = 1.0f - t;
    const float beach = 2.3f * SmoothStep(0.0f, 0.18f, u);
    const float hill = island.peak * std::pow(SmoothStep(0.12f, 0.95f, u), 1.3f);
    const float rolling = FractalNoise(x / 11.0f, z / 11.0f, island.seed + 7u, 4);
    const float detail = island.peak * 0.35f * rolling * SmoothStep(0.15f, 0.45f, u);
    return kWaterHeight + beach + hill + detail;
}

float RockyHeight(const Island& island, float x, float z) {
    const float t = ShoreRatio(island, x, z, 0.28f);
    if (t >= 1.0f) {
        return Underwater(t);
    }
    const float u = 1.0f - t;
    const float beach = 1.8f * SmoothStep(0.0f, 0.1f, u);
    // Steep flanks that level out into a rugged top.
    const float flank = SmoothStep(0.1f, 0.42f, u);
    const float ridges = 1.0f - std::fabs(FractalNoise(x / 14.0f, z / 14.0f, island.seed + 3u, 4));
    const float top = island.peak * (0.55f + 0.45f * ridges * ridges) *
                      (0.75f + 0.25f * SmoothStep(0.4f, 1.0f, u));
    return kWaterHeight + beach + flank * top;
}

float SandbarHeight(const Island& island, float x, float z) {
    const float t = ShoreRatio(island, x, z, 0.3f);
    if (t >= 1.0f) {
        return Underwater(t);
    }
    const float u = 1.0f - t;
    return kWaterHeight + island.peak * SmoothStep(0.0f, 0.7f, u) +
           0.3f * FractalNoise(x / 4.0f, z / 4.0f, island.seed + 5u, 2) * u;
}

float VolcanoHeight(const Island& island, float x, float z) {
    const float dx = x - island.x;
    const float dz = z - island.z;
    const float d = std::sqrt(dx * dx + dz * dz);
    const float rim = kRimHeight + 1.2f * FractalNoise(x / 6.0f, z / 6.0f, island.seed + 1u, 2);
    float cone;
    if (d < kRimRadius) {
        cone = kCraterFloor + (rim - kCraterFloor) * std::pow(d / kRimRadius, 2.4f);
    } else {
        const float s = (d - kRimRadius) / (kConeFoot - kRimRadius);
        if (s < 1.0f) {
            // Lava gullies run down the flanks: ridged noise stretched along the radius.
            const float angle = std::atan2(dz, dx);
            const float gully = FractalNoise(angle * 5.0f, d / 9.0f, island.seed + 2u, 3);
            const float flank = std::pow(1.0f - s, 1.6f);
            cone =
                kWaterHeight + (rim - kWaterHeight) * flank + 2.2f * gully * s * (1.0f - s) * 4.0f;
        } else {
            cone = kWaterHeight - 9.0f * (s - 1.0f);
        }
    }
    // A low apron of beach and scrub around the cone.
    Island apron = island;
    apron.peak = 1.6f;
    return std::max(cone, GrassyHeight(apron, x, z));
}

float HeightOf(const Island& island, float x, float z) {
    switch (island.kind) {
        case IslandKind::kVolcano:
            return VolcanoHeight(island, x, z);
        case IslandKind::kGrassy:
            return GrassyHeight(island, x, z);
        case IslandKind::kRocky:
            return RockyHeight(island, x, z);
        case IslandKind::kSandbar:
            return SandbarHeight(island, x, z);
    }
    return HeightGrid::kDeepFloor;
}

}  // namespace

const std::vector<Island>& WorldIslands() {
    static const std::vector<Island> islands = {
        {"volcano", kSprayX, kSprayZ, 29.0f, kRimHeight, IslandKind::kVolcano, 11u},
        {"palm bay", 22.0f, 86.0f, 32.0f, 4.5f, IslandKind::kGrassy, 23u},
        {"east crags", 90.0f, 40.0f, 21.0f, 14.0f, IslandKind::kRocky, 37u},
        {"south meadow", 14.0f, -86.0f, 29.0f, 4.0f, IslandKind::kGrassy, 41u},
        {"south-west bluffs", -105.0f, -70.0f, 28.0f, 18.0f, IslandKind::kRocky, 53u},
        {"north-west downs", -98.0f, 98.0f, 30.0f, 5.0f, IslandKind::kGrassy, 67u},
        {"drift bar", 118.0f, -16.0f, 9.0f, 1.3f, IslandKind::kSandbar, 71u},
        {"north-east cay", 128.0f, 106.0f, 21.0f, 4.0f, IslandKind::kGrassy, 83u},
        {"west cay", -168.0f, 8.0f, 19.0f, 4.0f, IslandKind::kGrassy, 97u},
        {"south stack", -25.0f, -162.0f, 14.0f, 12.0f, IslandKind::kRocky, 101u},
        {"mid bar", 60.0f, -48.0f, 7.0f, 1.0f, IslandKind::kSandbar, 113u},
        {"east cay", 163.0f, 34.0f, 18.0f, 4.0f, IslandKind::kGrassy, 127u},
    };
    return islands;
}

float IslandHeight(float x, float z) {
    float h = HeightGrid::kDeepFloor;
    for (const Island& island : WorldIslands()) {
        const float reach = island.radius * 1.9f + 6.0f;
        if (std::fabs(x - island.x) < reach && std::fabs(z - island.z) < reach) {
            h = std::max(h, HeightOf(island, x, z));
        }
    }
    return std::max(h, HeightGrid::kDeepFloor);
}

HeightGrid::HeightGrid()
    : samples_(static_cast<int>(2.0f * kGridHalfSize / kGridStep) + 1),
      heights_(static_cast<size_t>(samples_) * samples_),
      light_(static_cast<size_t>(samples_) * samples_, 1.0f) {
    for (int j = 0; j < samples_; ++j) {
        for (int i = 0; i < samples_; ++i) {
            heights_[static_cast<size_t>(j) * samples_ + i] = IslandHeight(GridX(i), GridX(j));
        }
    }
}

float HeightGrid::Sample(int i, int j) const {
    i = std::clamp(i, 0, samples_ - 1);
    j = std::clamp(j, 0, samples_ - 1);
    return heights_[static_cast<size_t>(j) * samples_ + i];
}

namespace {

template <typename Lookup>
float Bilinear(float x, float z, float halfSize, float step, Lookup lookup) {
    const float gx = (x + halfSize) / step;
    const float gz = (z + halfSize) / step;
    const float fx = std::floor(gx);
    const float fz = std::floor(gz);
    const int i = static_cast<int>(fx);
    const int j = static_cast<int>(fz);
    const float tx = gx - fx;
    const float tz = gz - fz;
    const float a = lookup(i, j) + (lookup(i + 1, j) - lookup(i, j)) * tx;
    const float b = lookup(i, j + 1) + (lookup(i + 1, j + 1) - lookup(i, j + 1)) * tx;
    return a + (b - a) * tz;
}

}  // namespace

float HeightGrid::Height(float x, float z) const {
    return Bilinear(x, z, kGridHalfSize, kGridStep, [this](int i, int j) { return Sample(i, j); });
}

void HeightGrid::Normal(float x, float z, float* nx, float* ny, float* nz) const {
    const float e = kGridStep;
    const float dx = (Height(x + e, z) - Height(x - e, z)) / (2.0f * e);
    const float dz = (Height(x, z + e) - Height(x, z - e)) / (2.0f * e);
    const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
    *nx = -dx / length;
    *ny = 1.0f / length;
    *nz = -dz / length;
}

float HeightGrid::SunLight(float x, float z) const {
    return Bilinear(x, z, kGridHalfSize, kGridStep, [this](int i, int j) {
        i = std::clamp(i, 0, samples_ - 1);
        j = std::clamp(j, 0, samples_ - 1);
        return light_[static_cast<size_t>(j) * samples_ + i];
    });
}

void HeightGrid::ComputeShadows(float sunX, float sunY, float sunZ) {
    const float horizontal = std::sqrt(sunX * sunX + sunZ * sunZ);
    const float stepX = sunX / horizontal * kGridStep;
    const float stepZ = sunZ / horizontal * kGridStep;
    const float rise = sunY / horizontal * kGridStep;
    float highest = kDeepFloor;
    for (float h : heights_) {
        highest = std::max(highest, h);
    }
    for (int j = 0; j < samples_; ++j) {
        for (int i = 0; i < samples_; ++i) {
            const float h0 = Sample(i, j);
            if (h0 < kSandHeight - 0.5f) {
                continue;
            }
            float x = GridX(i);
            float z = GridX(j);
            float y = h0 + 0.05f;
            // Soft edge: how far below the terrain the ray passes decides the darkness.
            float light = 1.0f;
            // Only nearby land casts shadows: a long shadow of the volcano across the sea onto
            // another island would read as a painting fault, not as light.
            for (int step = 0; step < kShadowSteps && y < highest; ++step) {
                x += stepX;
                z += stepZ;
                y += rise;
                const float under = Height(x, z) - y;
                if (under > 0.0f) {
                    light = std::min(light, 1.0f - Clamp01(under / 0.6f));
                    if (light <= 0.0f) {
                        break;
                    }
                }
            }
            light_[static_cast<size_t>(j) * samples_ + i] = light;
        }
    }
}

}  // namespace content
