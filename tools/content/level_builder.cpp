#include "tools/content/level_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/content/chunk_layout.h"
#include "tools/content/parallel_rows.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const int kChunksPerSide = static_cast<int>(2.0f * HeightGrid::kGridHalfSize / kChunkSize);
const int kMaxMaterials = 128;  // a group's material index is a signed byte

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

// The player looks at the land above the water from close by, most of all along the shore: it
// gets the most texels, with charts for its slopes. Land under the water is seen only through it
// and from afar; where it never comes near the water, it gets fewer texels than the shallows.
ChunkLayout::Options LayoutOptions(float highest) {
    if (highest > kWaterHeight) {
        return {kShoreDensity, kLandDensity, kLeastLandDensity, kBeyondShoreTextureSize,
                kChartBorder};
    }
    if (highest > kWaterHeight - ChunkLayout::kShoreBand) {
        return {0.0f, 0.0f, 0.0f, kShallowsTextureSize, 0};
    }
    return {0.0f, 0.0f, 0.0f, kUnderWaterTextureSize, 0};
}

// The mesh's point as a vertex of the file, added the first time a triangle uses it.
int VertexIndex(const TerrainMesh& mesh, const TerrainMesh::Point& p, std::vector<int>* vertexOf,
                Ms3dFile* model) {
    int& index = (*vertexOf)[static_cast<size_t>(p.j) * mesh.PointsPerSide() + p.i];
    if (index < 0) {
        index = static_cast<int>(model->vertices.size());
        Ms3dFileVertex v;
        v.x = mesh.PointWorld(p.i);
        v.y = mesh.PointHeight(p.i, p.j);
        v.z = -mesh.PointWorld(p.j);  // the file's z runs the other way
        model->vertices.push_back(v);
    }
    return index;
}

// A chunk's triangles in the file, their world corners for its texture's layout, and how high
// its ground reaches.
struct ChunkTriangles {
    Ms3dFileGroup group;
    std::vector<LayoutTriangle> corners;
    float highest = -INFINITY;
};

ChunkTriangles AddChunkTriangles(const HeightGrid& grid, const TerrainMesh& mesh, int ci, int cj,
                                 std::vector<int>* vertexOf, Ms3dFile* model) {
    ChunkTriangles chunk;
    const int side = mesh.PointsPerSide();
    for (const TerrainMesh::Triangle& triangle : mesh.ChunkTriangles(ci, cj)) {
        Ms3dFileTriangle t;
        LayoutTriangle corner;
        for (int k = 0; k < 3; ++k) {
            const TerrainMesh::Point& p = triangle.corners[k];
            t.vertexIndices[k] = static_cast<uint16_t>(VertexIndex(mesh, p, vertexOf, model));
            const float wx = mesh.PointWorld(p.i);
            const float wz = mesh.PointWorld(p.j);
            float nx;
            float ny;
            float nz;
            grid.Normal(wx, wz, &nx, &ny, &nz);
            t.normals[k] = {nx, ny, -nz};
            corner.corners[k][0] = wx;
            corner.corners[k][1] = mesh.PointHeight(p.i, p.j);
            corner.corners[k][2] = wz;
            corner.points[k] = p.j * side + p.i;
            chunk.highest = std::max(chunk.highest, corner.corners[k][1]);
        }
        t.groupIndex = static_cast<uint8_t>(model->groups.size() & 0xFF);
        chunk.group.triangleIndices.push_back(static_cast<uint16_t>(model->triangles.size()));
        model->triangles.push_back(t);
        chunk.corners.push_back(corner);
    }
    return chunk;
}

// The chunk's group and its material, named after the island it mostly belongs to; its texture,
// not yet painted.
LevelTexture AddChunkGroup(int ci, int cj, int chunkNumber, Ms3dFileGroup group, Ms3dFile* model) {
    const float x0 = -HeightGrid::kGridHalfSize + ci * kChunkSize;
    const float z0 = -HeightGrid::kGridHalfSize + cj * kChunkSize;
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
    group.materialIndex = static_cast<int8_t>(model->materials.size());
    model->materials.push_back(material);
    model->groups.push_back(std::move(group));
    return LevelTexture{fileName, format, Image()};
}

}  // namespace

bool BuildLevel(const HeightGrid& grid, const TerrainMesh& mesh, const SurfacePainter& painter,
                Level* level, std::string* error) {
    Ms3dFile& model = level->model;
    std::vector<int> vertexOf(static_cast<size_t>(mesh.PointsPerSide()) * mesh.PointsPerSide(), -1);
    int chunkNumber = 0;
    for (int cj = 0; cj < kChunksPerSide; ++cj) {
        for (int ci = 0; ci < kChunksPerSide; ++ci) {
            const float x0 = -HeightGrid::kGridHalfSize + ci * kChunkSize;
            const float z0 = -HeightGrid::kGridHalfSize + cj * kChunkSize;
            ChunkTriangles chunk = AddChunkTriangles(grid, mesh, ci, cj, &vertexOf, &model);
            const ChunkLayout layout(x0, z0, kChunkSize, chunk.corners,
                                     LayoutOptions(chunk.highest));
            for (size_t n = 0; n < chunk.corners.size(); ++n) {
                Ms3dFileTriangle& t = model.triangles[chunk.group.triangleIndices[n]];
                for (int k = 0; k < 3; ++k) {
                    layout.TexCoord(static_cast<int>(n), k, &t.s[k], &t.t[k]);
                }
            }
            if (chunk.group.triangleIndices.empty()) {
                continue;
            }
            if (model.materials.size() >= kMaxMaterials) {
                *error = "the level has more chunks than a model file can give materials";
                return false;
            }
            LevelTexture texture =
                AddChunkGroup(ci, cj, chunkNumber, std::move(chunk.group), &model);
            texture.image = Image(layout.Width(), layout.Height());
            PaintImage(&texture.image, [&](int x, int y) {
                float wx;
                float wz;
                layout.WorldPoint(x, y, &wx, &wz);
                return painter.ColorAt(wx, wz);
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
