// Writes the model fuzzer's seed corpus with our own MilkShape 3D writer: an empty model, one
// triangle with a material, and a few groups sharing vertices, with and without the animation
// block. Usage: model_fuzz_seeds DIRECTORY
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/image_file_writers.h"
#include "tools/content/ms3d_writer.h"

namespace {

content::Ms3dFile OneTriangle() {
    content::Ms3dFile file;
    for (int i = 0; i < 3; ++i) {
        content::Ms3dFileVertex vertex;
        vertex.x = static_cast<float>(i);
        vertex.z = static_cast<float>(i * i);
        file.vertices.push_back(vertex);
    }
    content::Ms3dFileTriangle triangle;
    triangle.vertexIndices = {0, 1, 2};
    triangle.s = {0.0f, 1.0f, 1.0f};
    file.triangles.push_back(triangle);
    content::Ms3dFileGroup group;
    group.name = "island";
    group.triangleIndices = {0};
    group.materialIndex = 0;
    file.groups.push_back(group);
    content::Ms3dFileMaterial material;
    material.name = "sand";
    material.textureName = "textures\\sand.bmp";
    file.materials.push_back(material);
    return file;
}

content::Ms3dFile SeveralGroups() {
    content::Ms3dFile file = OneTriangle();
    for (int i = 0; i < 4; ++i) {
        content::Ms3dFileVertex vertex;
        vertex.y = static_cast<float>(i);
        vertex.boneIndex = static_cast<int8_t>(i - 1);
        file.vertices.push_back(vertex);
    }
    content::Ms3dFileTriangle triangle;
    triangle.vertexIndices = {3, 4, 5};
    file.triangles.push_back(triangle);
    triangle.vertexIndices = {4, 5, 6};
    file.triangles.push_back(triangle);
    content::Ms3dFileGroup group;
    group.triangleIndices = {1, 2};
    group.materialIndex = -1;
    file.groups.push_back(group);
    file.groups.push_back(content::Ms3dFileGroup{});
    content::Ms3dFileMaterial material;
    material.textureName = std::string(130, 'x');  // fills the field with no terminator
    file.materials.push_back(material);
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: model_fuzz_seeds DIRECTORY\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    content::Ms3dFile bare = SeveralGroups();
    bare.writeAnimationBlock = false;
    bool ok = WriteBytesToFile(dir + "/empty.ms3d", content::EncodeMs3d(content::Ms3dFile{}));
    ok &= WriteBytesToFile(dir + "/triangle.ms3d", content::EncodeMs3d(OneTriangle()));
    ok &= WriteBytesToFile(dir + "/groups.ms3d", content::EncodeMs3d(SeveralGroups()));
    ok &= WriteBytesToFile(dir + "/bare.ms3d", content::EncodeMs3d(bare));
    if (!ok) {
        std::fprintf(stderr, "model_fuzz_seeds: cannot write into %s\n", dir.c_str());
        return 1;
    }
    std::printf("model_fuzz_seeds: 4 seeds in %s\n", dir.c_str());
    return 0;
}
