#include "tools/compare/image_difference.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Filled(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < width * height; ++i) {
        rgba.insert(rgba.end(), {r, g, b, 255});
    }
    return rgba;
}

void SetPixel(std::vector<uint8_t>* rgba, int index, uint8_t r, uint8_t g, uint8_t b) {
    (*rgba)[static_cast<size_t>(index) * 4] = r;
    (*rgba)[static_cast<size_t>(index) * 4 + 1] = g;
    (*rgba)[static_cast<size_t>(index) * 4 + 2] = b;
}

TEST(ImageDifferenceTest, MeansPerChannelShareOverThresholdAndLargest) {
    // Ten pixels of 100, 100, 100; three of them changed.
    const std::vector<uint8_t> a = Filled(5, 2, 100, 100, 100);
    std::vector<uint8_t> b = a;
    SetPixel(&b, 0, 110, 100, 100);  // red +10: not over the threshold
    SetPixel(&b, 3, 100, 83, 100);   // green -17: over it
    SetPixel(&b, 9, 100, 100, 116);  // blue +16: exactly at it, not over
    ImageDifference difference;
    ASSERT_TRUE(CompareImages(a, b, 5, 2, &difference));
    EXPECT_DOUBLE_EQ(difference.meanRed, 1.0);
    EXPECT_DOUBLE_EQ(difference.meanGreen, 1.7);
    EXPECT_DOUBLE_EQ(difference.meanBlue, 1.6);
    EXPECT_DOUBLE_EQ(difference.percentOverThreshold, 10.0);
    EXPECT_EQ(difference.largest, 17);
}

TEST(ImageDifferenceTest, AlphaIsNotCompared) {
    const std::vector<uint8_t> a = Filled(2, 2, 10, 20, 30);
    std::vector<uint8_t> b = a;
    b[3] = 0;
    ImageDifference difference;
    ASSERT_TRUE(CompareImages(a, b, 2, 2, &difference));
    EXPECT_EQ(difference.largest, 0);
    EXPECT_EQ(difference.percentOverThreshold, 0.0);
}

TEST(ImageDifferenceTest, MismatchedSizesAreRefused) {
    const std::vector<uint8_t> a = Filled(2, 2, 0, 0, 0);
    ImageDifference difference;
    EXPECT_FALSE(CompareImages(a, Filled(2, 3, 0, 0, 0), 2, 2, &difference));
    EXPECT_FALSE(CompareImages(a, a, 3, 2, &difference));
    EXPECT_FALSE(CompareImages({}, {}, 0, 0, &difference));
    EXPECT_TRUE(DifferenceHeatMap(a, Filled(1, 1, 0, 0, 0), 2, 2).empty());
}

TEST(ImageDifferenceTest, HeatMapDarkensAgreementAndColoursDifferences) {
    const std::vector<uint8_t> a = Filled(4, 1, 200, 100, 40);
    std::vector<uint8_t> b = a;
    SetPixel(&b, 1, 201, 100, 40);  // 1: dim blue
    SetPixel(&b, 2, 200, 116, 40);  // 16: full blue
    SetPixel(&b, 3, 0, 100, 40);    // 200: red toward yellow
    const std::vector<uint8_t> map = DifferenceHeatMap(a, b, 4, 1);
    ASSERT_EQ(map.size(), 16u);
    EXPECT_EQ(std::vector<uint8_t>(map.begin(), map.begin() + 4),
              (std::vector<uint8_t>{28, 28, 28, 255}));
    EXPECT_EQ(std::vector<uint8_t>(map.begin() + 4, map.begin() + 8),
              (std::vector<uint8_t>{0, 0, 135, 255}));
    EXPECT_EQ(std::vector<uint8_t>(map.begin() + 8, map.begin() + 12),
              (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(map[12], 255);
    EXPECT_EQ(map[13], (200 - 17) * 255 / 238);
    EXPECT_EQ(map[14], 0);
}

}  // namespace
