#include "tests/support/minimal_game_data.h"

#include <filesystem>

#include "tests/support/world_triangles_file.h"
#include "tools/content/image.h"
#include "tools/content/image_writers.h"

namespace {

content::Ms3dFileVertex FileVertex(float x, float y, float worldZ) {
    content::Ms3dFileVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.z = -worldZ;  // the loader negates z into the game's world
    return vertex;
}

}  // namespace

content::Ms3dFile MinimalLevel() {
    content::Ms3dFile file;
    const char* textures[3] = {"grass.bmp", "art\\islands/grass.bmp", "missing.bmp"};
    for (int g = 0; g < 3; ++g) {
        const float x = 100.0f * static_cast<float>(g);
        const uint16_t first = static_cast<uint16_t>(file.vertices.size());
        file.vertices.push_back(FileVertex(x, 0, 0));
        file.vertices.push_back(FileVertex(x + 2, 0, 0));
        file.vertices.push_back(FileVertex(x, 0, 2));
        content::Ms3dFileTriangle triangle;
        triangle.vertexIndices = {first, static_cast<uint16_t>(first + 1),
                                  static_cast<uint16_t>(first + 2)};
        triangle.normals = {{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}};
        triangle.s = {0, 1, 0};
        triangle.t = {0, 0, 1};
        content::Ms3dFileGroup group;
        group.name = "chunk" + std::to_string(g);
        group.triangleIndices = {static_cast<uint16_t>(file.triangles.size())};
        group.materialIndex = static_cast<int8_t>(g);
        file.triangles.push_back(triangle);
        file.groups.push_back(group);
        content::Ms3dFileMaterial material;
        material.name = "ground" + std::to_string(g);
        material.textureName = textures[g];
        file.materials.push_back(material);
    }
    return file;
}

content::Ms3dFile MinimalTrees() {
    content::Ms3dFile file;
    file.vertices.push_back(FileVertex(10, -2, 30));
    file.vertices.push_back(FileVertex(-50, -2, 0));
    file.vertices.push_back(FileVertex(0, -2, -400));
    file.vertices.push_back(FileVertex(0, 0, 0));
    return file;
}

bool WriteSolidBitmap(const std::string& path, int red, int green, int blue) {
    content::Image image(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.SetBytes(x, y, static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                           static_cast<uint8_t>(blue));
        }
    }
    return content::WriteFileBytes(path, content::EncodeBmp(image));
}

bool WriteMinimalGameData() {
    std::error_code error;
    std::filesystem::create_directories("data", error);
    bool ok = !error;
    const char* images[] = {"skybox_top",   "skybox_bottom", "skybox_left", "skybox_right",
                            "skybox_front", "skybox_back",   "water",       "sand",
                            "treetexture",  "leaftexture",   "particle",    "grass"};
    int shade = 20;
    for (const char* name : images) {
        ok = ok && WriteSolidBitmap(std::string("data/") + name + ".bmp", shade, 100, 200);
        shade += 10;
    }
    ok = ok && WriteMs3dFile("data/level.ms3d", MinimalLevel());
    ok = ok && WriteMs3dFile("data/trees.ms3d", MinimalTrees());
    ok = ok && WriteMs3dFile("data/levelboundings.ms3d", Ms3dFileOfWorldTriangles({}));
    return ok;
}
