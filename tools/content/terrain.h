// The shape of the world: the islands as a height function over the sea, sampled once into a
// fine grid that every later step (meshes, collision, texture painting, trees, map) reads, so
// that they all agree on where the land is.
#pragma once

#include <cstdint>
#include <vector>

namespace content {

enum class IslandKind { kVolcano, kGrassy, kRocky, kSandbar };

struct Island {
    const char* name;
    float x;
    float z;
    float radius;  // of the shore line, before its outline is roughened
    float peak;    // height of the hills above the beach
    IslandKind kind;
    uint32_t seed;
};

// The world's islands, in a fixed order.
const std::vector<Island>& WorldIslands();

// Height of the sea floor or land at a world point, from the islands' analytic shapes.
float IslandHeight(float x, float z);

// Heights sampled every kGridStep units over the square [-kGridHalfSize, kGridHalfSize]^2.
class HeightGrid {
public:
    static constexpr float kGridStep = 0.5f;
    static constexpr float kGridHalfSize = 224.0f;
    // The floor far from any island, below the sand so that it never shows.
    static constexpr float kDeepFloor = -6.6f;

    HeightGrid();

    int Samples() const { return samples_; }
    float Sample(int i, int j) const;  // i along x, j along z; clamped at the edges

    // Bilinear height between samples.
    float Height(float x, float z) const;
    // Unit surface normal from central differences.
    void Normal(float x, float z, float* nx, float* ny, float* nz) const;

    // True where the sun (the direction toward it) is hidden by terrain, as a 0-1 factor
    // interpolated between samples: 1 fully lit.
    float SunLight(float x, float z) const;
    void ComputeShadows(float sunX, float sunY, float sunZ);

    float GridX(int i) const { return -kGridHalfSize + i * kGridStep; }

private:
    int samples_;
    std::vector<float> heights_;
    std::vector<float> light_;
};

}  // namespace content
