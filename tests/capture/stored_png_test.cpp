#include "tools/capture/stored_png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

namespace {

// Decodes through libpng, which checks every chunk's CRC and the zlib stream's Adler-32.
bool DecodeRgba(const std::vector<uint8_t>& png, std::vector<uint8_t>* rgba, int* width,
                int* height) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba->assign(PNG_IMAGE_SIZE(image), 0);
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, rgba->data(), 0, nullptr) != 0;
}

std::vector<uint8_t> Pattern(int width, int height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < rgba.size(); ++i) {
        rgba[i] = static_cast<uint8_t>((i * 7919u) >> 3);
    }
    return rgba;
}

TEST(StoredPngTest, LibpngReadsBackEveryPixelWithAlphaDropped) {
    // 300 x 100: 90100 raw bytes, so the stream needs two stored blocks, the second partial.
    for (const auto& [width, height] : {std::pair{300, 100}, std::pair{1, 1}, std::pair{7, 3}}) {
        const std::vector<uint8_t> source = Pattern(width, height);
        std::vector<uint8_t> decoded;
        int decodedWidth = 0;
        int decodedHeight = 0;
        ASSERT_TRUE(DecodeRgba(EncodeStoredPng(source, width, height), &decoded, &decodedWidth,
                               &decodedHeight))
            << width << " x " << height;
        ASSERT_EQ(decodedWidth, width);
        ASSERT_EQ(decodedHeight, height);
        for (size_t i = 0; i < source.size(); i += 4) {
            ASSERT_EQ(decoded[i], source[i]) << i;
            ASSERT_EQ(decoded[i + 1], source[i + 1]) << i;
            ASSERT_EQ(decoded[i + 2], source[i + 2]) << i;
            ASSERT_EQ(decoded[i + 3], 255) << i;
        }
    }
}

TEST(StoredPngTest, ExactlyFullBlocksEndWithAFinalOne) {
    // 65535 raw bytes in all: 5 rows of 1 + 4369 x 3 bytes, one full stored block.
    const std::vector<uint8_t> source = Pattern(4369, 5);
    std::vector<uint8_t> decoded;
    int width = 0;
    int height = 0;
    EXPECT_TRUE(DecodeRgba(EncodeStoredPng(source, 4369, 5), &decoded, &width, &height));
}

TEST(StoredPngTest, UnusableSizesGiveNothing) {
    EXPECT_TRUE(EncodeStoredPng({}, 0, 0).empty());
    EXPECT_TRUE(EncodeStoredPng(Pattern(2, 2), -2, -2).empty());
    EXPECT_TRUE(EncodeStoredPng(Pattern(2, 2), 3, 2).empty());
    EXPECT_TRUE(EncodeStoredPng(Pattern(2, 2), 2, 1).empty());
    EXPECT_TRUE(EncodeStoredPng(Pattern(1, 1), 1 << 20, 1 << 20).empty());
}

}  // namespace
