// skimlark-compare run as a program: its line of figures, its heat map and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/capture/png_file.h"
#include "tools/compare/png_reader.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string output;
};

ToolRun RunCompare(const std::string& arguments) {
    const std::string command = std::string(SKIMLARK_COMPARE_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, ""};
    if (pipe == nullptr) {
        return run;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        run.output += buffer;
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CompareToolTest : public testing::Test {
protected:
    void SetUp() override {
        directory = std::filesystem::temp_directory_path() /
                    ("skimlark_compare_" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string Picture(const char* name, int width, int height, uint8_t red) {
        std::vector<uint8_t> rgba;
        for (int i = 0; i < width * height; ++i) {
            rgba.insert(rgba.end(), {red, 50, 60, 255});
        }
        const std::string path = (directory / name).string();
        EXPECT_TRUE(WriteRgbPng(path, rgba, width, height));
        return path;
    }

    std::filesystem::path directory;
};

TEST_F(CompareToolTest, PrintsTheFiguresAndWritesTheHeatMap) {
    const std::string a = Picture("a.png", 8, 4, 100);
    const std::string b = Picture("b.png", 8, 4, 120);
    const std::string diff = (directory / "diff.png").string();
    const ToolRun run = RunCompare(a + " " + b + " --diff " + diff);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "mean_r=20.0000 mean_g=0.0000 mean_b=0.0000 over16_percent=100.0000 max=20\n");
    std::vector<uint8_t> map;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(ReadRgbaPng(diff, &map, &width, &height));
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(map[0], 255);  // every pixel over the threshold: red
}

TEST_F(CompareToolTest, IdenticalPicturesGiveZeros) {
    const std::string a = Picture("a.png", 3, 3, 7);
    const ToolRun run = RunCompare(a + " " + a);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "mean_r=0.0000 mean_g=0.0000 mean_b=0.0000 over16_percent=0.0000 max=0\n");
}

TEST_F(CompareToolTest, RefusesWithExitCode2) {
    const std::string a = Picture("a.png", 4, 4, 0);
    const std::string wide = Picture("wide.png", 5, 4, 0);
    const std::string text = (directory / "text.png").string();
    FILE* file = std::fopen(text.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("not a picture", file);
    std::fclose(file);
    for (const std::string& arguments :
         {std::string(""), a, a + " " + a + " " + a, a + " " + wide, a + " " + text,
          a + " " + (directory / "missing.png").string(), a + " " + a + " --diff",
          a + " " + a + " --scale 2"}) {
        const ToolRun run = RunCompare(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_FALSE(run.output.empty()) << arguments;
    }
}

}  // namespace
