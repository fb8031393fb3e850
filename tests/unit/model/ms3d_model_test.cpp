#include "model/ms3d_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/content/image_writers.h"
#include "tools/content/ms3d_writer.h"

namespace {

using content::Ms3dFile;
using content::Ms3dFileGroup;
using content::Ms3dFileMaterial;
using content::Ms3dFileTriangle;
using content::Ms3dFileVertex;

struct ModelDeleter {
    void operator()(Ms3dModel* model) const { delete model; }
};
using ModelPtr = std::unique_ptr<Ms3dModel, ModelDeleter>;

struct PathDeleter {
    void operator()(char* path) const { delete[] path; }
};
using PathPtr = std::unique_ptr<char, PathDeleter>;

// Writes the bytes to a file of this test's own and loads it.
ModelPtr LoadBytes(const std::vector<uint8_t>& bytes) {
    const std::string path = std::string("ms3d_test_") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".ms3d";
    EXPECT_TRUE(content::WriteFileBytes(path, bytes));
    ModelPtr model(LoadMs3dModel(path.c_str()));
    std::remove(path.c_str());
    return model;
}

ModelPtr LoadFile(const Ms3dFile& file) {
    return LoadBytes(content::EncodeMs3d(file));
}

// Three vertices, two triangles, two groups (the second empty), two materials.
Ms3dFile SmallModel() {
    Ms3dFile file;
    Ms3dFileVertex a;
    a.x = 1.0f;
    a.y = 2.0f;
    a.z = 3.0f;
    a.boneIndex = 5;
    Ms3dFileVertex b = a;
    b.x = 4.0f;
    b.z = 0.0f;
    b.boneIndex = static_cast<int8_t>(0xFF);
    Ms3dFileVertex c = a;
    c.y = -7.5f;
    c.boneIndex = static_cast<int8_t>(0x80);
    file.vertices = {a, b, c};

    Ms3dFileTriangle t0;
    t0.vertexIndices = {0, 1, 2};
    t0.normals = {{{0.0f, 0.0f, 1.0f}, {0.5f, 0.25f, -2.0f}, {1.0f, 0.0f, 0.0f}}};
    t0.s = {0.1f, 0.2f, 0.3f};
    t0.t = {0.4f, 0.5f, 0.6f};
    Ms3dFileTriangle t1 = t0;
    t1.vertexIndices = {2, 1, 0};
    file.triangles = {t0, t1};

    Ms3dFileGroup g0;
    g0.name = "ground";
    g0.triangleIndices = {1, 0};
    g0.materialIndex = 1;
    Ms3dFileGroup g1;
    g1.name = "empty";
    g1.materialIndex = static_cast<int8_t>(0xFF);
    file.groups = {g0, g1};

    Ms3dFileMaterial m0;
    m0.name = "plain";
    Ms3dFileMaterial m1;
    m1.name = "sand";
    m1.ambient = {0.1f, 0.2f, 0.3f, 0.4f};
    m1.diffuse = {0.5f, 0.6f, 0.7f, 0.8f};
    m1.specular = {0.9f, 1.0f, 1.1f, 1.2f};
    m1.emissive = {1.3f, 1.4f, 1.5f, 1.6f};
    m1.shininess = 12.5f;
    m1.textureName = "C:\\art\\textures\\sand.bmp";
    m1.alphaMapName = "alpha.bmp";
    file.materials = {m0, m1};
    return file;
}

TEST(Ms3dModelTest, NewModelIsEmptyAndDestroysCleanly) {
    Ms3dModel model;
    EXPECT_EQ(model.numVertices, 0);
    EXPECT_EQ(model.numTriangles, 0);
    EXPECT_EQ(model.numGroups, 0);
    EXPECT_EQ(model.numMaterials, 0);
    EXPECT_EQ(model.vertices, nullptr);
    EXPECT_EQ(model.triangles, nullptr);
    EXPECT_EQ(model.groups, nullptr);
    EXPECT_EQ(model.materials, nullptr);
}

TEST(Ms3dModelTest, IdentifierAndVersionDecideWhetherAFileLoads) {
    Ms3dFile file = SmallModel();
    file.version = 4;
    EXPECT_NE(LoadFile(file), nullptr);
    file.version = 2;
    EXPECT_EQ(LoadFile(file), nullptr);
    file.version = -1;
    EXPECT_EQ(LoadFile(file), nullptr);

    file.version = 4;
    file.identifier[9] = '1';
    EXPECT_EQ(LoadFile(file), nullptr);
    file.identifier[9] = '\0';
    EXPECT_EQ(LoadFile(file), nullptr);

    EXPECT_EQ(LoadBytes({'M', 'S', '3', 'D'}), nullptr);
    EXPECT_EQ(LoadBytes({}), nullptr);
    EXPECT_EQ(LoadMs3dModel("no/such/model.ms3d"), nullptr);
}

TEST(Ms3dModelTest, VersionsThreeAndLaterReadAlike) {
    Ms3dFile file = SmallModel();
    file.version = 4;
    const ModelPtr four = LoadFile(file);
    ASSERT_NE(four, nullptr);
    for (int32_t version : {3, 7}) {
        file.version = version;
        const ModelPtr other = LoadFile(file);
        ASSERT_NE(other, nullptr) << version;
        EXPECT_EQ(other->numVertices, four->numVertices);
        EXPECT_EQ(
            std::memcmp(other->vertices, four->vertices, sizeof(Ms3dVertex) * four->numVertices),
            0);
        EXPECT_EQ(std::memcmp(other->triangles, four->triangles,
                              sizeof(Ms3dTriangle) * four->numTriangles),
                  0);
        EXPECT_STREQ(other->materials[1].textureName, four->materials[1].textureName);
    }
}

TEST(Ms3dModelTest, PositionsAndNormalsTurnIntoTheLeftHandedWorld) {
    const ModelPtr model = LoadFile(SmallModel());
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->numVertices, 3);
    EXPECT_EQ(model->vertices[0].position, D3DXVECTOR3(1.0f, 2.0f, -3.0f));
    EXPECT_EQ(model->vertices[2].position, D3DXVECTOR3(1.0f, -7.5f, -3.0f));
    // Negation flips the sign even of zero.
    EXPECT_EQ(model->vertices[1].position.z, 0.0f);
    EXPECT_TRUE(std::signbit(model->vertices[1].position.z));

    ASSERT_EQ(model->numTriangles, 2);
    const Ms3dTriangle& t = model->triangles[0];
    EXPECT_EQ(t.vertexIndices[0], 0u);
    EXPECT_EQ(t.vertexIndices[1], 1u);
    EXPECT_EQ(t.vertexIndices[2], 2u);
    EXPECT_EQ(t.normals[0], D3DXVECTOR3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(t.normals[1], D3DXVECTOR3(0.5f, 0.25f, 2.0f));
    EXPECT_EQ(t.normals[2].x, 1.0f);
    EXPECT_TRUE(std::signbit(t.normals[2].z));
    EXPECT_EQ(t.s[0], 0.1f);
    EXPECT_EQ(t.s[2], 0.3f);
    EXPECT_EQ(t.t[1], 0.5f);
    EXPECT_EQ(model->triangles[1].vertexIndices[0], 2u);
}

TEST(Ms3dModelTest, NegativeBoneIndicesBecomeMinusOne) {
    const ModelPtr model = LoadFile(SmallModel());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->vertices[0].boneIndex, 5);
    EXPECT_EQ(model->vertices[1].boneIndex, -1);  // 0xFF
    EXPECT_EQ(model->vertices[2].boneIndex, -1);  // 0x80
}

TEST(Ms3dModelTest, GroupsKeepTheirTrianglesAndSignedMaterialIndex) {
    const ModelPtr model = LoadFile(SmallModel());
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->numGroups, 2);
    EXPECT_EQ(model->groups[0].numTriangles, 2);
    EXPECT_EQ(model->groups[0].triangleIndices[0], 1u);
    EXPECT_EQ(model->groups[0].triangleIndices[1], 0u);
    EXPECT_EQ(model->groups[0].materialIndex, 1);
    // An empty group is followed directly by its material byte.
    EXPECT_EQ(model->groups[1].numTriangles, 0);
    EXPECT_EQ(model->groups[1].materialIndex, -1);
}

TEST(Ms3dModelTest, MaterialsAreStoredInDeviceOrder) {
    const ModelPtr model = LoadFile(SmallModel());
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->numMaterials, 2);
    const Ms3dMaterial& m = model->materials[1];
    EXPECT_EQ(m.ambient.r, 0.1f);
    EXPECT_EQ(m.ambient.a, 0.4f);
    EXPECT_EQ(m.diffuse.r, 0.5f);
    EXPECT_EQ(m.specular.g, 1.0f);
    EXPECT_EQ(m.emissive.b, 1.5f);
    EXPECT_EQ(m.power, 12.5f);
    // The record copies into a device material as one block.
    const D3DMATERIAL8* device = reinterpret_cast<const D3DMATERIAL8*>(&m);
    EXPECT_EQ(device->Diffuse.g, 0.6f);
    EXPECT_EQ(device->Ambient.b, 0.3f);
    EXPECT_EQ(device->Power, 12.5f);
    EXPECT_STREQ(m.textureName, "C:\\art\\textures\\sand.bmp");
    EXPECT_STREQ(model->materials[0].textureName, "");
}

TEST(Ms3dModelTest, TextureNameWithoutTerminatorKeepsItsFirst127Characters) {
    Ms3dFile file = SmallModel();
    file.materials[0].textureName = std::string(128, 'a');
    file.materials[0].alphaMapName = "b.bmp";
    const ModelPtr model = LoadFile(file);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(std::string(model->materials[0].textureName), std::string(127, 'a'));
}

TEST(Ms3dModelTest, EmptySectionsGiveAnEmptyModel) {
    Ms3dFile file;
    const ModelPtr model = LoadFile(file);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->numVertices, 0);
    EXPECT_EQ(model->numTriangles, 0);
    EXPECT_EQ(model->numGroups, 0);
    EXPECT_EQ(model->numMaterials, 0);
    EXPECT_EQ(model->vertices, nullptr);
    EXPECT_EQ(model->materials, nullptr);

    // Vertices alone, as the tree positions are stored.
    file.vertices.resize(4);
    const ModelPtr points = LoadFile(file);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->numVertices, 4);
    EXPECT_EQ(points->numTriangles, 0);
}

TEST(Ms3dModelTest, WhateverFollowsTheMaterialsIsIgnored) {
    Ms3dFile file = SmallModel();
    file.writeAnimationBlock = false;
    std::vector<uint8_t> bytes = content::EncodeMs3d(file);
    const ModelPtr bare = LoadBytes(bytes);
    ASSERT_NE(bare, nullptr);
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE, 0xEF, 0x01});
    const ModelPtr trailing = LoadBytes(bytes);
    ASSERT_NE(trailing, nullptr);
    EXPECT_EQ(trailing->numMaterials, 2);
    EXPECT_STREQ(trailing->materials[1].textureName, bare->materials[1].textureName);
}

TEST(Ms3dModelTest, AFileThatEndsEarlyGivesNoModel) {
    Ms3dFile file = SmallModel();
    file.writeAnimationBlock = false;
    const std::vector<uint8_t> bytes = content::EncodeMs3d(file);
    // Every cut, from inside the header to the last byte of the alpha map name.
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_EQ(LoadBytes(cut), nullptr) << "cut at " << length << " of " << bytes.size();
    }
}

TEST(Ms3dModelTest, CountsLargerThanTheFileGiveNoModel) {
    Ms3dFile file;
    file.vertices.resize(2);
    std::vector<uint8_t> bytes = content::EncodeMs3d(file);
    // Claim 65535 vertices in a file that holds two.
    bytes[14] = 0xFF;
    bytes[15] = 0xFF;
    EXPECT_EQ(LoadBytes(bytes), nullptr);
}

TEST(Ms3dModelTest, IndicesOutOfRangeGiveNoModel) {
    {
        Ms3dFile file = SmallModel();
        file.triangles[1].vertexIndices[2] = 3;  // three vertices
        EXPECT_EQ(LoadFile(file), nullptr);
        file.triangles[1].vertexIndices[2] = 2;
        EXPECT_NE(LoadFile(file), nullptr);
    }
    {
        Ms3dFile file = SmallModel();
        file.groups[0].triangleIndices[1] = 2;  // two triangles
        EXPECT_EQ(LoadFile(file), nullptr);
    }
    {
        Ms3dFile file = SmallModel();
        file.groups[1].materialIndex = 2;  // two materials
        EXPECT_EQ(LoadFile(file), nullptr);
        file.groups[1].materialIndex = -2;  // would index before the array
        EXPECT_EQ(LoadFile(file), nullptr);
        file.groups[1].materialIndex = 127;
        EXPECT_EQ(LoadFile(file), nullptr);
    }
    {
        // Material indices only make sense once the materials are known: none at all.
        Ms3dFile file = SmallModel();
        file.materials.clear();
        EXPECT_EQ(LoadFile(file), nullptr);
        file.groups[0].materialIndex = -1;
        EXPECT_NE(LoadFile(file), nullptr);
    }
}

TEST(Ms3dModelTest, BackslashedPathsOpenTheFile) {
    ASSERT_TRUE(content::WriteFileBytes("ms3d_backslash.ms3d", content::EncodeMs3d(SmallModel())));
    const ModelPtr model(LoadMs3dModel(".\\ms3d_backslash.ms3d"));
    std::remove("ms3d_backslash.ms3d");
    EXPECT_NE(model, nullptr);
}

TEST(JoinDataPathTest, JoinsTheDirectoryAndTheNamesTail) {
    struct Case {
        const char* name;
        const char* directory;
        const char* joined;
    };
    const Case cases[] = {
        {"level.ms3d", "data/", "data/level.ms3d"},
        {"tex/sand.bmp", "data/", "data//sand.bmp"},
        {"C:\\art\\textures\\sand.bmp", "data/", "data/\\sand.bmp"},
        {"art/mixed\\rock.png", "data/", "data/\\rock.png"},
        {"textures\\islands/grass.jpg", "data/", "data//grass.jpg"},
        {"", "data/", "data/"},
        {"/sand.bmp", "data/", "data//sand.bmp"},
        {"\\sand.bmp", "data/", "data/\\sand.bmp"},
        {"folder/", "data/", "data//"},
        {"sand.bmp", "", "sand.bmp"},
    };
    for (const Case& c : cases) {
        const PathPtr joined(JoinDataPath(c.name, c.directory));
        ASSERT_NE(joined, nullptr);
        EXPECT_STREQ(joined.get(), c.joined) << c.name;
    }
}

TEST(JoinDataPathTest, LeavesItsInputsAlone) {
    char name[] = "a/b\\c.bmp";
    char directory[] = "data/";
    const PathPtr joined(JoinDataPath(name, directory));
    EXPECT_STREQ(name, "a/b\\c.bmp");
    EXPECT_STREQ(directory, "data/");
    EXPECT_STREQ(joined.get(), "data/\\c.bmp");
}

}  // namespace
