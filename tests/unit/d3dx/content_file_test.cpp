#include "d3dx/content_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

TEST(ContentFileTest, BackslashesOpenTheFileInsideTheDirectory) {
    std::filesystem::create_directories("content_file_test");
    std::FILE* file = std::fopen("content_file_test/sand.bmp", "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("BM..", file);
    std::fclose(file);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadContentFile("content_file_test\\sand.bmp", &bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'B', 'M', '.', '.'}));
    ASSERT_TRUE(ReadContentFile("content_file_test/\\sand.bmp", &bytes));
    EXPECT_EQ(bytes.size(), 4u);
    std::filesystem::remove_all("content_file_test");
}

TEST(ContentFileTest, MissingFilesAndDirectoriesAreNotContent) {
    std::vector<uint8_t> bytes{1, 2, 3};
    EXPECT_FALSE(ReadContentFile("no/such/file.ms3d", &bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
    std::filesystem::create_directories("content_file_dir");
    EXPECT_FALSE(ReadContentFile("content_file_dir", &bytes));
    EXPECT_EQ(bytes.size(), 3u);
    std::filesystem::remove_all("content_file_dir");
    EXPECT_FALSE(ReadContentFile(nullptr, &bytes));
}

}  // namespace
