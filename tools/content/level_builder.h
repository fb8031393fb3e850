// The drawn level: the terrain's mesh (TerrainMesh), cut into square chunks (one group and one
// material per chunk, so that the game culls chunk by chunk), each chunk with its own texture
// painted with the land's colours and baked light, laid out by ChunkLayout.
#pragma once

#include <string>
#include <vector>

#include "tools/content/image.h"
#include "tools/content/ms3d_writer.h"
#include "tools/content/surface_painter.h"
#include "tools/content/terrain.h"
#include "tools/content/terrain_mesh.h"
#include "tools/content/world_constants.h"

namespace content {

enum class ImageFormat { kBmp, kPng, kJpeg };

struct LevelTexture {
    std::string fileName;  // the bare name written into data/
    ImageFormat format;
    Image image;
};

struct Level {
    Ms3dFile model;
    std::vector<LevelTexture> textures;
};

// Fails (returns false, with a reason) only if the world outgrew what the file format holds.
bool BuildLevel(const HeightGrid& grid, const TerrainMesh& mesh, const SurfacePainter& painter,
                Level* level, std::string* error);

// Chunk size and grid cell of the level mesh, in world units.
const float kChunkSize = 32.0f;
const float kMeshStep = 1.0f;
// How far the drawn surface may stray from the mesh points, in world units: the waterline and
// the edge of the sand floor are outlines the eye follows closely, the rest much less.
const TerrainMesh::Accuracy kLevelAccuracy = {
    0.25f, 0.03f, 0.3f, {kWaterHeight, kSandHeight}, kSandHeight - 0.05f};
// Texels per unit on the shore band above the water, on the rest of the land above it, and the
// least that may give way to where a chunk has many slopes. Texels along the side of the square
// that covers a chunk's ground under the water: on chunks with no land above the water, where it
// comes within 1.5 units of the water and where it does not; beside land above the water (where
// the squares over the shore take in the nearest shallows).
const float kShoreDensity = 16.0f;
const float kLandDensity = 13.5f;
const float kLeastLandDensity = 12.5f;
const int kShallowsTextureSize = 256;
const int kUnderWaterTextureSize = 128;
const int kBeyondShoreTextureSize = 64;
const int kChartBorder = 2;

}  // namespace content
