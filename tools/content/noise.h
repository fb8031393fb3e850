// Deterministic 2D noise: gradient noise, its fractal sum, and cellular (Worley) distances. Every
// function can repeat with a whole-number period, which is how the tiling textures stay seamless.
#pragma once

#include <cstdint>

namespace content {

// Gradient noise in about [-1, 1]. A period of 0 means no repetition; otherwise the lattice
// wraps every `period` units on both axes.
float GradientNoise(float x, float y, uint32_t seed, int period = 0);

// Sum of `octaves` layers of gradient noise, each at twice the frequency and `gain` times the
// amplitude of the one before, normalised to about [-1, 1]. With a period, every octave repeats
// over it (the period doubles with the frequency).
float FractalNoise(float x, float y, uint32_t seed, int octaves, float gain = 0.5f, int period = 0);

// Distances to the nearest and second-nearest feature point of a jittered grid of unit cells.
struct CellDistances {
    float nearest;
    float second;
};
CellDistances CellularNoise(float x, float y, uint32_t seed, int period = 0);

// A hash of integer coordinates to [0, 1), for per-cell decisions.
float HashUnit(int x, int y, uint32_t seed);

}  // namespace content
