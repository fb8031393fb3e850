// Our own MilkShape 3D writer: a model described in the file's own terms (z as the file stores
// it, ambient before diffuse) and encoded byte for byte into the format the game's loader reads.
// The loader's tests use it to build files of every shape, and the content tool to write the
// world's models.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace content {

struct Ms3dFileVertex {
    uint8_t flags = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    int8_t boneIndex = -1;
    uint8_t referenceCount = 0;
};

struct Ms3dFileTriangle {
    uint16_t flags = 0;
    std::array<uint16_t, 3> vertexIndices{};
    std::array<std::array<float, 3>, 3> normals{};  // per corner: x, y, z
    std::array<float, 3> s{};
    std::array<float, 3> t{};
    uint8_t smoothingGroup = 1;
    uint8_t groupIndex = 0;
};

struct Ms3dFileGroup {
    uint8_t flags = 0;
    std::string name;  // at most 32 bytes are written
    std::vector<uint16_t> triangleIndices;
    int8_t materialIndex = -1;
};

struct Ms3dFileMaterial {
    std::string name;  // at most 32 bytes
    std::array<float, 4> ambient{0.2f, 0.2f, 0.2f, 1.0f};
    std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    std::array<float, 4> specular{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    float transparency = 1.0f;
    uint8_t mode = 0;
    // At most 128 bytes are written; a name of 128 or more characters fills the field with no
    // terminator, which the writer allows so that tests can build such a file.
    std::string textureName;
    std::string alphaMapName;
};

struct Ms3dFile {
    std::array<char, 10> identifier{'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'};
    int32_t version = 4;
    std::vector<Ms3dFileVertex> vertices;
    std::vector<Ms3dFileTriangle> triangles;
    std::vector<Ms3dFileGroup> groups;
    std::vector<Ms3dFileMaterial> materials;
    // The animation block that follows the materials in files saved by modelling tools: frame
    // rate, current time, frame count and an empty joint list. The game never reads it.
    bool writeAnimationBlock = true;
};

// Sections hold at most 65535 records, and a group at most 65535 triangle indices.
bool Ms3dFileFitsFormat(const Ms3dFile& file);

// The file's bytes; empty when the model does not fit the format.
std::vector<uint8_t> EncodeMs3d(const Ms3dFile& file);

}  // namespace content
