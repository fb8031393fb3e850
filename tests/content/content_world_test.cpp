// The generated world read back through the game's loader: the promises the game relies on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "d3dx/content_file.h"
#include "d3dx/d3dx_math.h"
#include "d3dx/image/image_decoder.h"
#include "d3dx/texture_fitting.h"
#include "model/ms3d_model.h"
#include "tests/content/texel_figures.h"
#include "tools/content/content_generator.h"

namespace {

namespace fs = std::filesystem;

struct ModelDeleter {
    void operator()(Ms3dModel* model) const { delete model; }
};
using ModelPtr = std::unique_ptr<Ms3dModel, ModelDeleter>;

fs::path TestDirectory(const char* name) {
    return fs::temp_directory_path() /
           ("skimlark_content_" + std::to_string(::getpid()) + "_" + name);
}

// The icons go beside data/, as the build writes them.
fs::path IconDirectory(const fs::path& data) {
    return data.string() + "_icons";
}

content::ContentOptions WithIcons(const fs::path& data) {
    content::ContentOptions options;
    options.iconDirectory = IconDirectory(data).string();
    return options;
}

// Every file under a directory, by its path relative to it.
std::map<std::string, fs::path> FilesUnder(const fs::path& directory) {
    std::map<std::string, fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), directory).string()] = entry.path();
        }
    }
    return files;
}

// One generation shared by every test of the suite.
class ContentWorldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        directory_ = new fs::path(TestDirectory("world"));
        std::string error;
        generated_ = content::GenerateContent(directory_->string(), WithIcons(*directory_), &error);
        ASSERT_TRUE(generated_) << error;
        level_ = Load("level.ms3d");
        trees_ = Load("trees.ms3d");
        bounds_ = Load("levelboundings.ms3d");
    }

    static void TearDownTestSuite() {
        delete level_;
        delete trees_;
        delete bounds_;
        fs::remove_all(*directory_);
        fs::remove_all(IconDirectory(*directory_));
        delete directory_;
    }

    void SetUp() override {
        ASSERT_TRUE(generated_);
        ASSERT_NE(level_, nullptr);
        ASSERT_NE(trees_, nullptr);
        ASSERT_NE(bounds_, nullptr);
    }

    static Ms3dModel* Load(const char* name) {
        return LoadMs3dModel((*directory_ / name).string().c_str());
    }

    // The height of the surface the player's move test finds under (x, z): the last group-0
    // triangle in list order that a ray cast down from high above hits, or -infinity.
    static float SurfaceBelow(float x, float z) {
        const D3DXVECTOR3 origin(x, 998.0f, z);
        const D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
        float dist = 2000.0f;
        const Ms3dGroup& group = bounds_->groups[0];
        for (int i = 0; i < group.numTriangles; ++i) {
            const Ms3dTriangle& t = bounds_->triangles[group.triangleIndices[i]];
            float u;
            float v;
            D3DXIntersectTri(&bounds_->vertices[t.vertexIndices[0]].position,
                             &bounds_->vertices[t.vertexIndices[1]].position,
                             &bounds_->vertices[t.vertexIndices[2]].position, &origin, &down, &u,
                             &v, &dist);
        }
        return dist >= 2000.0f ? -INFINITY : 998.0f - dist;
    }

    static bool Blocked(float x, float z) { return SurfaceBelow(x, z) >= -4.0f; }

    static fs::path* directory_;
    static bool generated_;
    static Ms3dModel* level_;
    static Ms3dModel* trees_;
    static Ms3dModel* bounds_;
};

fs::path* ContentWorldTest::directory_ = nullptr;
bool ContentWorldTest::generated_ = false;
Ms3dModel* ContentWorldTest::level_ = nullptr;
Ms3dModel* ContentWorldTest::trees_ = nullptr;
Ms3dModel* ContentWorldTest::bounds_ = nullptr;

void ExpectIndicesInRange(const Ms3dModel& model) {
    for (int i = 0; i < model.numTriangles; ++i) {
        for (uint32_t index : model.triangles[i].vertexIndices) {
            ASSERT_LT(index, static_cast<uint32_t>(model.numVertices));
        }
    }
    for (int g = 0; g < model.numGroups; ++g) {
        const Ms3dGroup& group = model.groups[g];
        for (int i = 0; i < group.numTriangles; ++i) {
            ASSERT_LT(group.triangleIndices[i], static_cast<uint32_t>(model.numTriangles));
        }
        ASSERT_GE(group.materialIndex, -1);
        ASSERT_LT(group.materialIndex, model.numMaterials);
    }
}

TEST_F(ContentWorldTest, EveryFileTheGameOpensExists) {
    for (const std::string& name : content::FixedContentFiles()) {
        EXPECT_TRUE(fs::is_regular_file(*directory_ / name)) << name;
    }
}

TEST_F(ContentWorldTest, EveryIndexIsInRange) {
    ExpectIndicesInRange(*level_);
    ExpectIndicesInRange(*trees_);
    ExpectIndicesInRange(*bounds_);
}

TEST_F(ContentWorldTest, LevelIsSplitIntoTexturedChunks) {
    EXPECT_GE(level_->numGroups, 24);
    bool backslash = false;
    bool slash = false;
    bool png = false;
    bool jpeg = false;
    const std::string dir = directory_->string() + "/";
    for (int g = 0; g < level_->numGroups; ++g) {
        const Ms3dGroup& group = level_->groups[g];
        EXPECT_GT(group.numTriangles, 0) << g;
        ASSERT_GE(group.materialIndex, 0) << "group " << g << " has no material";
        const std::string name = level_->materials[group.materialIndex].textureName;
        backslash = backslash || name.find('\\') != std::string::npos;
        slash = slash || name.find('/') != std::string::npos;
        png = png || name.ends_with(".png");
        jpeg = jpeg || name.ends_with(".jpg");
        // The game drops the folders and opens the bare name in the data directory.
        char* joined = JoinDataPath(name.c_str(), dir.c_str());
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadContentFile(joined, &bytes)) << joined;
        delete[] joined;
    }
    EXPECT_TRUE(backslash);
    EXPECT_TRUE(slash);
    EXPECT_TRUE(png);
    EXPECT_TRUE(jpeg);
}

TEST_F(ContentWorldTest, LandStaysWithinSightOfTheMiddle) {
    for (int i = 0; i < level_->numVertices; ++i) {
        const D3DXVECTOR3& p = level_->vertices[i].position;
        if (p.y >= -2.0f) {
            EXPECT_LE(std::hypot(p.x, p.z), 200.0f) << p.x << ", " << p.z;
        }
    }
}

TEST_F(ContentWorldTest, VolcanoCraterSurroundsTheSpray) {
    // The rim stands around y = 25 about the spray's source at (-40, 10); the crater inside is
    // lower, so the glow rises out of a bowl.
    float rim = -100.0f;
    float crater = 100.0f;
    for (int i = 0; i < level_->numVertices; ++i) {
        const D3DXVECTOR3& p = level_->vertices[i].position;
        const float d = std::hypot(p.x + 40.0f, p.z - 10.0f);
        if (d < 12.0f) {
            rim = std::max(rim, p.y);
        }
        if (d < 3.0f) {
            crater = std::min(crater, p.y);
        }
    }
    EXPECT_GT(rim, 22.0f);
    EXPECT_LT(rim, 29.0f);
    EXPECT_LT(crater, rim - 4.0f);
    EXPECT_GT(crater, 10.0f);
}

TEST_F(ContentWorldTest, TreesStandOnLand) {
    // The game plants a tree on every vertex but the last.
    const int trees = trees_->numVertices - 1;
    EXPECT_GE(trees, 30);
    for (int i = 0; i < trees; ++i) {
        const D3DXVECTOR3& foot = trees_->vertices[i].position;
        const float ground = SurfaceBelow(foot.x, foot.z);
        EXPECT_GE(ground, -4.0f) << "tree " << i << " at " << foot.x << ", " << foot.z;
        EXPECT_GT(foot.y, -2.0f) << "tree " << i << " stands in the water";
    }
}

TEST_F(ContentWorldTest, TreesStandOnTheDrawnGround) {
    // Straight down from above each foot, the level's first surface is where the foot is.
    const D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
    for (int i = 0; i < trees_->numVertices - 1; ++i) {
        const D3DXVECTOR3& foot = trees_->vertices[i].position;
        const D3DXVECTOR3 origin(foot.x, 998.0f, foot.z);
        float nearest = 2000.0f;
        for (int t = 0; t < level_->numTriangles; ++t) {
            const Ms3dTriangle& tri = level_->triangles[t];
            float u;
            float v;
            float dist = 2000.0f;
            if (D3DXIntersectTri(&level_->vertices[tri.vertexIndices[0]].position,
                                 &level_->vertices[tri.vertexIndices[1]].position,
                                 &level_->vertices[tri.vertexIndices[2]].position, &origin, &down,
                                 &u, &v, &dist)) {
                nearest = std::min(nearest, dist);
            }
        }
        EXPECT_NEAR(998.0f - nearest, foot.y, 1e-3f) << "tree " << i;
    }
}

TEST_F(ContentWorldTest, TexturesCoverTheLandAboveWaterFinelyAndEvenly) {
    const std::string dir = directory_->string() + "/";
    std::vector<content_test::TexturedTriangle> triangles;
    double textureBytes = 0.0;
    for (int g = 0; g < level_->numGroups; ++g) {
        const Ms3dGroup& group = level_->groups[g];
        ASSERT_GE(group.materialIndex, 0);
        char* joined =
            JoinDataPath(level_->materials[group.materialIndex].textureName, dir.c_str());
        std::vector<uint8_t> bytes;
        const bool read = ReadContentFile(joined, &bytes);
        delete[] joined;
        ASSERT_TRUE(read) << "group " << g;
        // Decoded as the game decodes it: the texture's size is the file's.
        DecodedImage image;
        ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), ImageLimits{4096, 4096}, &image), S_OK)
            << "group " << g;
        const int width = static_cast<int>(image.width);
        const int height = static_cast<int>(image.height);
        EXPECT_TRUE(IsPowerOfTwo(width) && IsPowerOfTwo(height) && width <= 1024 && height <= 1024)
            << "group " << g << ": " << width << " x " << height;
        // Four bytes a texel, and a third more for the mip chain.
        textureBytes += 4.0 * width * height * 4.0 / 3.0;
        for (int i = 0; i < group.numTriangles; ++i) {
            const Ms3dTriangle& t = level_->triangles[group.triangleIndices[i]];
            content_test::TexturedTriangle triangle;
            for (int k = 0; k < 3; ++k) {
                const D3DXVECTOR3& p = level_->vertices[t.vertexIndices[k]].position;
                triangle.position[k][0] = p.x;
                triangle.position[k][1] = p.y;
                triangle.position[k][2] = p.z;
                triangle.texel[k][0] = t.s[k] * width;
                triangle.texel[k][1] = t.t[k] * height;
            }
            triangles.push_back(triangle);
        }
    }
    using content_test::Zone;
    const content_test::ZoneFigures shore = MeasureZone(triangles, Zone::kShore);
    const content_test::ZoneFigures steep = MeasureZone(triangles, Zone::kSteep);
    const content_test::ZoneFigures rest = MeasureZone(triangles, Zone::kRest);
    std::printf("%s\n%s\n%s\ntexture memory with mip chains %.1f MB\n",
                FormatFigures("shore band", shore).c_str(), FormatFigures("steep", steep).c_str(),
                FormatFigures("rest", rest).c_str(), textureBytes / 1e6);
    // Zones of the size the islands have: a layout that lost them would pass vacuously.
    EXPECT_GT(shore.area, 4000.0);
    EXPECT_GT(steep.area, 2000.0);
    EXPECT_GT(rest.area, 8000.0);
    EXPECT_LE(steep.stretchNinetieth, 1.3);
    EXPECT_GE(steep.weakestTenth, 10.0);
    EXPECT_GE(shore.texelsMedian, 15.0);
    EXPECT_GE(shore.weakestTenth, 12.0);
    EXPECT_GE(rest.texelsMedian, 12.0);
    EXPECT_LE(textureBytes, 100e6);
}

TEST_F(ContentWorldTest, StartAndTheFirstStretchOfDriftAreOpenWater) {
    const float startX = -3.0f;
    const float startZ = -10.0f;
    EXPECT_FALSE(Blocked(startX, startZ));
    for (int k = 0; k < 16; ++k) {
        const float angle = 6.2831853f * k / 16.0f;
        EXPECT_FALSE(Blocked(startX + 5.0f * std::cos(angle), startZ + 5.0f * std::sin(angle)))
            << "direction " << k;
    }
    // Ten seconds of frames at 60 a second, 0.1 units each, with nothing held.
    for (int frame = 1; frame <= 600; ++frame) {
        ASSERT_FALSE(Blocked(startX + 0.1f * frame, startZ)) << "frame " << frame;
    }
}

TEST_F(ContentWorldTest, RingKeepsThePlayerInsideTheSea) {
    for (int k = 0; k < 24; ++k) {
        const float angle = 6.2831853f * (k + 0.5f) / 24.0f;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        EXPECT_FALSE(Blocked(225.0f * c, 225.0f * s)) << k;
        EXPECT_TRUE(Blocked(236.0f * c, 236.0f * s)) << k;
        EXPECT_TRUE(Blocked(248.0f * c, 248.0f * s)) << k;
    }
}

TEST_F(ContentWorldTest, CollisionCoversEveryPieceOfLandAndShallowWater) {
    // Every drawn point of the level at or above the blocking height is blocked; sampled, since
    // each query walks the whole collision group.
    int checked = 0;
    for (int i = 0; i < level_->numVertices; i += 13) {
        const D3DXVECTOR3& p = level_->vertices[i].position;
        if (p.y >= -4.0f) {
            EXPECT_TRUE(Blocked(p.x, p.z)) << p.x << ", " << p.y << ", " << p.z;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
}

TEST_F(ContentWorldTest, IconsLieInTheDesktopsLayoutOutsideData) {
    const std::map<std::string, fs::path> icons = FilesUnder(IconDirectory(*directory_));
    ASSERT_EQ(icons.size(), 5u);
    const auto read = [&](const std::string& name) {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(icons.count(name), 1u) << name;
        if (icons.count(name) == 1) {
            EXPECT_TRUE(ReadContentFile(icons.at(name).string().c_str(), &bytes)) << name;
        }
        return bytes;
    };
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"}) {
        const std::vector<uint8_t> png =
            read("hicolor/" + std::string(size) + "/apps/skimlark.png");
        ASSERT_GT(png.size(), 8u) << size;
        EXPECT_EQ(std::memcmp(png.data(), "\x89PNG", 4), 0) << size;
    }
    // The Windows icon beside the theme, with an entry for each of the four sizes.
    const std::vector<uint8_t> ico = read("skimlark.ico");
    ASSERT_GT(ico.size(), 6u);
    EXPECT_EQ(std::memcmp(ico.data(), "\0\0\1\0\4\0", 6), 0);
    for (const auto& [name, path] : FilesUnder(*directory_)) {
        EXPECT_TRUE(path.filename() != "skimlark.png" && path.filename() != "skimlark.ico")
            << name << ": an icon inside data/";
    }
}

TEST_F(ContentWorldTest, RunningTheToolAgainGivesTheSameBytes) {
    const fs::path again = TestDirectory("again");
    std::string error;
    ASSERT_TRUE(content::GenerateContent(again.string(), WithIcons(again), &error)) << error;
    for (const auto& [firstDirectory, secondDirectory] :
         {std::pair(*directory_, again),
          std::pair(IconDirectory(*directory_), IconDirectory(again))}) {
        const std::map<std::string, fs::path> first = FilesUnder(firstDirectory);
        const std::map<std::string, fs::path> second = FilesUnder(secondDirectory);
        ASSERT_EQ(first.size(), second.size());
        for (const auto& [name, path] : first) {
            ASSERT_EQ(second.count(name), 1u) << name;
            std::vector<uint8_t> a;
            std::vector<uint8_t> b;
            ASSERT_TRUE(ReadContentFile(path.string().c_str(), &a));
            ASSERT_TRUE(ReadContentFile(second.at(name).string().c_str(), &b));
            EXPECT_TRUE(a == b) << name << " differs between runs";
        }
    }
    fs::remove_all(again);
    fs::remove_all(IconDirectory(again));
}

}  // namespace
