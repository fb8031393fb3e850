// The drawn level: the terrain meshed on a 1-unit grid, cut into square chunks (one group and one
// material per chunk, so that the game culls chunk by chunk), each chunk with its own texture
// painted with the land's colours and baked light.
#pragma once

#include <string>
#include <vector>

#include "tools/content/image.h"
#include "tools/content/ms3d_writer.h"
#include "tools/content/surface_painter.h"
#include "tools/content/terrain.h"

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
bool BuildLevel(const HeightGrid& grid, const SurfacePainter& painter, Level* level,
                std::string* error);

// Chunk size and grid cell of the level mesh, in world units.
const float kChunkSize = 32.0f;
const float kMeshStep = 1.0f;
const int kChunkTextureSize = 256;

}  // namespace content
