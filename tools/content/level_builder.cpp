#include "tools/content/level_builder.h"

#include <cmath>
#include <cstdio>

#include "tools/content/parallel_rows.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const int kChunksPerSide = static_cast<int>(2.0f * HeightGrid::kGridHalfSize / kChunkSize);
const int kCellsPerChunk = static_cast<int>(kChunkSize / kMeshStep);
const int kMeshPointsPerSide = static_cast<int>(2.0f * HeightGrid::kGridHalfSize / kMeshStep) + 1;
// Cells wholly below this are hidden under the sand floor.
const float kLowestShown = kSandHeight - 0.05f;
const int kMaxMaterials = 128;  // a group's material index is a signed byte

float MeshPointHeight(const HeightGrid& grid, int mi, int mj) {
    const int step = static_cast<int>(kMeshStep / HeightGrid::kGridStep);
    return grid.Sample(mi * step, mj * step);
}

float MeshPointWorld(int m) {
    return -HeightGrid::kGridHalfSize + m * kMeshStep;
}

// The island a chunk mostly belongs to: the one whose shore is nearest its centre.
const Island& NearestIsland(float x, float z) {
    const Island* best = &WorldIslands().front();
    float bestGap = 1e9f;
    for (const Island& island : WorldIslands()) {
        const float gap = std::hypot(x - island.x, z - island.z) - island.radius;
        if (gap < bestGap) {
            bestGap = gap;
            best = &island;
        }
    }
    return *best;
}

// The volcano's textures are PNGs and the south meadow's JPEGs, so that the level exercises
// every decoder; the rest are bitmaps.
ImageFormat FormatFor(const Island& island) {
    if (island.kind == IslandKind::kVolcano) {
        return ImageFormat::kPng;
    }
    if (island.seed == 41u) {
        return ImageFormat::kJpeg;
    }
    return ImageFormat::kBmp;
}

const char* Extension(ImageFormat format) {
    switch (format) {
        case ImageFormat::kBmp:
            return "bmp";
        case ImageFormat::kPng:
            return "png";
        case ImageFormat::kJpeg:
            return "jpg";
    }
    return "bmp";
}

// Texture names as a modelling tool leaves them: some bare, some under folders written with
// either separator. The game keeps only the bare name.
std::string StoredName(const std::string& fileName, int chunkNumber) {
    switch (chunkNumber % 3) {
        case 1:
            return "textures\\islands\\" + fileName;
        case 2:
            return "art/terrain/" + fileName;
        default:
            return fileName;
    }
}

// Texel centres of the chunk's edge texels lie exactly on the chunk's edges, so that two chunks
// show the same colour along the line they share.
float ChunkTexCoord(float offset) {
    const float n = static_cast<float>(kChunkTextureSize);
    return (0.5f + offset / kChunkSize * (n - 1.0f)) / n;
}

}  // namespace

bool BuildLevel(const HeightGrid& grid, const SurfacePainter& painter, Level* level,
                std::string* error) {
    Ms3dFile& model = level->model;
    std::vector<int> vertexOf(static_cast<size_t>(kMeshPointsPerSide) * kMeshPointsPerSide, -1);
    auto vertexIndex = [&](int mi, int mj) {
        int& index = vertexOf[static_cast<size_t>(mj) * kMeshPointsPerSide + mi];
        if (index < 0) {
            index = static_cast<int>(model.vertices.size());
            Ms3dFileVertex v;
            v.x = MeshPointWorld(mi);
            v.y = MeshPointHeight(grid, mi, mj);
            v.z = -MeshPointWorld(mj);  // the file's z runs the other way
            model.vertices.push_back(v);
        }
        return index;
    };

    int chunkNumber = 0;
    for (int cj = 0; cj < kChunksPerSide; ++cj) {
        for (int ci = 0; ci < kChunksPerSide; ++ci) {
            const float x0 = -HeightGrid::kGridHalfSize + ci * kChunkSize;
            const float z0 = -HeightGrid::kGridHalfSize + cj * kChunkSize;
            Ms3dFileGroup group;
            for (int b = 0; b < kCellsPerChunk; ++b) {
                for (int a = 0; a < kCellsPerChunk; ++a) {
                    const int mi = ci * kCellsPerChunk + a;
                    const int mj = cj * kCellsPerChunk + b;
                    const int corners[4][2] = {
                        {mi, mj}, {mi + 1, mj}, {mi, mj + 1}, {mi + 1, mj + 1}};
                    float highest = -1e9f;
                    for (const auto& c : corners) {
                        highest = std::max(highest, MeshPointHeight(grid, c[0], c[1]));
                    }
                    if (highest < kLowestShown) {
                        continue;
                    }
                    // Corners a(0), b(1), c(2), d(3); triangles a-b-d and a-d-c.
                    const int order[2][3] = {{0, 1, 3}, {0, 3, 2}};
                    for (const auto& tri : order) {
                        Ms3dFileTriangle t;
                        for (int k = 0; k < 3; ++k) {
                            const int pi = corners[tri[k]][0];
                            const int pj = corners[tri[k]][1];
                            t.vertexIndices[k] = static_cast<uint16_t>(vertexIndex(pi, pj));
                            const float wx = MeshPointWorld(pi);
                            const float wz = MeshPointWorld(pj);
                            float nx;
                            float ny;
                            float nz;
                            grid.Normal(wx, wz, &nx, &ny, &nz);
                            t.normals[k] = {nx, ny, -nz};
                            t.s[k] = ChunkTexCoord(wx - x0);
                            t.t[k] = ChunkTexCoord(z0 + kChunkSize - wz);  // north at the top
                        }
                        t.groupIndex = static_cast<uint8_t>(model.groups.size() & 0xFF);
                        group.triangleIndices.push_back(
                            static_cast<uint16_t>(model.triangles.size()));
                        model.triangles.push_back(t);
                    }
                }
            }
            if (group.triangleIndices.empty()) {
                continue;
            }
            if (model.materials.size() >= kMaxMaterials) {
                *error = "the level has more chunks than a model file can give materials";
                return false;
            }
            const Island& island = NearestIsland(x0 + kChunkSize / 2, z0 + kChunkSize / 2);
            char base[64];
            std::snprintf(base, sizeof(base), "%s_%02d_%02d",
                          island.kind == IslandKind::kVolcano ? "volcano" : "isle", ci, cj);
            const ImageFormat format = FormatFor(island);
            const std::string fileName = std::string(base) + "." + Extension(format);

            Ms3dFileMaterial material;
            material.name = base;
            material.textureName = StoredName(fileName, chunkNumber);
            material.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
            material.ambient = {0.6f, 0.6f, 0.6f, 1.0f};
            char groupName[32];
            std::snprintf(groupName, sizeof(groupName), "chunk_%02d_%02d", ci, cj);
            group.name = groupName;
            group.materialIndex = static_cast<int8_t>(model.materials.size());
            model.materials.push_back(material);
            model.groups.push_back(std::move(group));

            LevelTexture texture{fileName, format, Image(kChunkTextureSize, kChunkTextureSize)};
            PaintImage(&texture.image, [&](int x, int y) {
                const float step = kChunkSize / (kChunkTextureSize - 1);
                return painter.ColorAt(x0 + x * step, z0 + kChunkSize - y * step);
            });
            level->textures.push_back(std::move(texture));
            ++chunkNumber;
        }
    }
    if (model.vertices.size() > 65535 || model.triangles.size() > 65535) {
        *error = "the level mesh has more vertices or triangles than a model file holds";
        return false;
    }
    return true;
}

}  // namespace content
