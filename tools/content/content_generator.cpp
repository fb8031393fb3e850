#include "tools/content/content_generator.h"

#include <filesystem>
#include <system_error>

#include "tools/content/collision_builder.h"
#include "tools/content/ico_writer.h"
#include "tools/content/icon_painter.h"
#include "tools/content/image_writers.h"
#include "tools/content/level_builder.h"
#include "tools/content/sea_textures.h"
#include "tools/content/sky.h"
#include "tools/content/sprite_images.h"
#include "tools/content/surface_painter.h"
#include "tools/content/terrain.h"
#include "tools/content/tree_planter.h"
#include "tools/content/world_map.h"

namespace content {

namespace {

const int kWaterSize = 256;
const int kSandSize = 512;
const int kTreeSize = 256;
const int kLeafSize = 64;
const int kParticleSize = 128;
const int kMapSize = 800;
const int kJpegQuality = 92;

class Writer {
public:
    Writer(const std::string& directory, std::string* error)
        : directory_(directory), error_(error) {}

    bool Bytes(const std::string& name, const std::vector<uint8_t>& bytes) {
        if (bytes.empty()) {
            *error_ = "could not encode " + name;
            return false;
        }
        const std::string path = (std::filesystem::path(directory_) / name).string();
        if (!WriteFileBytes(path, bytes)) {
            *error_ = "could not write " + path;
            return false;
        }
        return true;
    }

    bool Image(const std::string& name, const content::Image& image, ImageFormat format) {
        switch (format) {
            case ImageFormat::kPng:
                return Bytes(name, EncodePng(image));
            case ImageFormat::kJpeg:
                return Bytes(name, EncodeJpeg(image, kJpegQuality));
            case ImageFormat::kBmp:
                break;
        }
        return Bytes(name, EncodeBmp(image));
    }

private:
    std::string directory_;
    std::string* error_;
};

}  // namespace

const std::vector<std::string>& FixedContentFiles() {
    static const std::vector<std::string> files = {
        "level.ms3d",        "trees.ms3d",          "treetexture.bmp",
        "leaftexture.bmp",   "levelboundings.ms3d", "skybox_top.bmp",
        "skybox_bottom.bmp", "skybox_left.bmp",     "skybox_right.bmp",
        "skybox_front.bmp",  "skybox_back.bmp",     "water.bmp",
        "sand.bmp",          "particle.bmp"};
    return files;
}

bool GenerateIcons(const std::string& directory, std::string* error) {
    std::vector<IconImage> icons;
    for (const int size : IconSizes()) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder =
            std::filesystem::path(directory) / "hicolor" / sizeName / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            *error = "could not create " + folder.string() + ": " + ec.message();
            return false;
        }
        icons.push_back(PaintIcon(size));
        const IconImage& icon = icons.back();
        if (!Writer(folder.string(), error)
                 .Bytes("skimlark.png", EncodePngWithAlpha(icon.color, icon.alpha))) {
            return false;
        }
    }
    return Writer(directory, error).Bytes("skimlark.ico", EncodeIco(icons));
}

namespace {

// The level, its textures, the collision model and the trees, each file written as it is made.
bool WriteWorldModels(Writer& write, const HeightGrid& grid, const SurfacePainter& painter,
                      Collision* collision, std::vector<TreeFoot>* trees, std::string* error) {
    const TerrainMesh mesh(grid, kLevelAccuracy);
    Level level;
    if (!BuildLevel(grid, mesh, painter, &level, error) ||
        !write.Bytes("level.ms3d", EncodeMs3d(level.model))) {
        return false;
    }
    for (const LevelTexture& texture : level.textures) {
        if (!write.Image(texture.fileName, texture.image, texture.format)) {
            return false;
        }
    }
    if (!BuildCollision(grid, collision)) {
        *error = "the collision model has more triangles than a model file holds";
        return false;
    }
    if (!write.Bytes("levelboundings.ms3d", EncodeMs3d(collision->model))) {
        return false;
    }
    *trees = PlantTrees(grid, mesh);
    return write.Bytes("trees.ms3d", EncodeMs3d(TreeModel(*trees)));
}

// The sky's faces, the palm, the leaf and the spray's glow.
bool WriteSkyAndSprites(Writer& write, Color waterMean, Color seaFloor, int skyFaceSize) {
    // Far away the water shows as the blend the game makes of it over the sand floor.
    const Sky sky(waterMean * (waterMean + seaFloor));
    for (const SkyFace& face : PaintSkyFaces(sky, skyFaceSize)) {
        if (!write.Image(face.fileName, face.image, ImageFormat::kBmp)) {
            return false;
        }
    }
    return write.Image("treetexture.bmp", PaintTree(kTreeSize), ImageFormat::kBmp) &&
           write.Image("leaftexture.bmp", PaintLeaf(kLeafSize), ImageFormat::kBmp) &&
           write.Image("particle.bmp", PaintParticle(kParticleSize), ImageFormat::kBmp);
}

}  // namespace

bool GenerateContent(const std::string& directory, const ContentOptions& options,
                     std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        *error = "could not create " + directory + ": " + ec.message();
        return false;
    }
    Writer write(directory, error);

    const content::Image sand = PaintSand(kSandSize);
    const content::Image water = PaintWater(kWaterSize);
    const Color seaFloor = AverageColor(sand);
    const Color waterMean = AverageColor(water);
    if (!write.Image("sand.bmp", sand, ImageFormat::kBmp) ||
        !write.Image("water.bmp", water, ImageFormat::kBmp)) {
        return false;
    }

    HeightGrid grid;
    const Direction sun = SunDirection();
    grid.ComputeShadows(sun.x, sun.y, sun.z);
    const SurfacePainter painter(grid, seaFloor);
    Collision collision;
    std::vector<TreeFoot> trees;
    if (!WriteWorldModels(write, grid, painter, &collision, &trees, error) ||
        !WriteSkyAndSprites(write, waterMean, seaFloor, options.skyFaceSize)) {
        return false;
    }

    if (!options.mapPath.empty()) {
        const content::Image map = PaintWorldMap(grid, painter, collision.blocked, trees, kMapSize);
        if (!WriteFileBytes(options.mapPath, EncodePng(map))) {
            *error = "could not write " + options.mapPath;
            return false;
        }
    }
    if (!options.iconDirectory.empty() && !GenerateIcons(options.iconDirectory, error)) {
        return false;
    }
    return true;
}

}  // namespace content
