#include "d3dx/image/texture_level.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/image_file_writers.h"

namespace {

DecodedImage ToDecoded(const TestImage& image) {
    DecodedImage decoded;
    EXPECT_EQ(decoded.AllocatePixels(image.width, image.height, D3DFMT_A8R8G8B8), S_OK);
    decoded.pixels = image.argb;
    return decoded;
}

// The tent weight of source texel j for output texel i, straight from the definition: centre
// (i + 0.5) * scale - 0.5, radius max(1, scale), edges clamped.
std::vector<double> TentWeights(uint32_t sourceSize, uint32_t outputSize, uint32_t i) {
    const double scale = static_cast<double>(sourceSize) / outputSize;
    const double centre = (i + 0.5) * scale - 0.5;
    const double radius = std::max(1.0, scale);
    std::vector<double> weights(sourceSize, 0.0);
    double total = 0.0;
    for (int j = -static_cast<int>(sourceSize) * 2; j < static_cast<int>(sourceSize) * 3; ++j) {
        const double w = std::max(0.0, 1.0 - std::fabs(j - centre) / radius);
        weights[std::clamp(j, 0, static_cast<int>(sourceSize) - 1)] += w;
        total += w;
    }
    for (double& w : weights) {
        w /= total;
    }
    return weights;
}

// One channel of the reference resampling at output texel (x, y).
double Reference(const TestImage& image, uint32_t width, uint32_t height, uint32_t x, uint32_t y,
                 int shift) {
    const std::vector<double> wx = TentWeights(image.width, width, x);
    const std::vector<double> wy = TentWeights(image.height, height, y);
    double sum = 0.0;
    for (uint32_t sy = 0; sy < image.height; ++sy) {
        for (uint32_t sx = 0; sx < image.width; ++sx) {
            sum += wx[sx] * wy[sy] * ((image.At(sx, sy) >> shift) & 0xFF);
        }
    }
    return sum;
}

const int kArgbShifts[4] = {24, 16, 8, 0};

TEST(TextureLevelTest, SameSizeIsAnExactConversion) {
    const TestImage image = PatternImage(9, 5, true);
    TextureLevel level;
    ASSERT_EQ(level.BuildFromImage(ToDecoded(image), 9, 5, *FindTexelLayout(D3DFMT_A8R8G8B8),
                                   ResampleFilter::kTent, true),
              S_OK);
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 9; ++x) {
            for (int f = 0; f < 4; ++f) {
                EXPECT_EQ(level.Value(x, y, f), (image.At(x, y) >> kArgbShifts[f]) & 0xFF);
            }
        }
    }
}

TEST(TextureLevelTest, TentResamplingMatchesTheReference) {
    const TestImage image = PatternImage(11, 7, true);
    const std::pair<uint32_t, uint32_t> sizes[] = {{32, 16}, {5, 3}, {11, 20}, {4, 7}, {1, 1}};
    for (const auto& [width, height] : sizes) {
        for (bool dither : {false, true}) {
            TextureLevel level;
            ASSERT_EQ(level.BuildFromImage(ToDecoded(image), width, height,
                                           *FindTexelLayout(D3DFMT_A8R8G8B8), ResampleFilter::kTent,
                                           dither),
                      S_OK);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    for (int f = 0; f < 4; ++f) {
                        const double want = Reference(image, width, height, x, y, kArgbShifts[f]);
                        // Rounded to nearest without dither; to one side or the other with it.
                        const double tolerance = dither ? 1.0 : 0.5 + 1e-3;
                        EXPECT_LT(std::fabs(level.Value(x, y, f) - want), tolerance)
                            << width << "x" << height << " at " << x << "," << y << " field " << f;
                    }
                }
            }
        }
    }
}

TEST(TextureLevelTest, PointSamplingTakesTheNearestTexel) {
    const TestImage image = PatternImage(4, 4);
    TextureLevel level;
    ASSERT_EQ(level.BuildFromImage(ToDecoded(image), 8, 2, *FindTexelLayout(D3DFMT_X8R8G8B8),
                                   ResampleFilter::kPoint, false),
              S_OK);
    // Output texel centres map to source (x + 0.5) / 2 across and (y + 0.5) * 2 down.
    EXPECT_EQ(level.Value(5, 1, 0), (image.At(2, 3) >> 16) & 0xFF);
    EXPECT_EQ(level.Value(7, 0, 2), image.At(3, 1) & 0xFF);
    EXPECT_EQ(level.Value(0, 0, 1), (image.At(0, 1) >> 8) & 0xFF);
}

TEST(TextureLevelTest, DitheringSpreadsTheRoundingOverFourByFourTexels) {
    // 100 / 255 of 31 is 12.157: dithered, 3 of every 16 texels round up.
    TestImage flat{8, 8, std::vector<uint32_t>(64, 0xFF646464)};
    const TexelLayout& r5g6b5 = *FindTexelLayout(D3DFMT_R5G6B5);
    TextureLevel dithered;
    ASSERT_EQ(dithered.BuildFromImage(ToDecoded(flat), 8, 8, r5g6b5, ResampleFilter::kTent, true),
              S_OK);
    int sum = 0;
    for (uint32_t y = 0; y < 4; ++y) {
        for (uint32_t x = 0; x < 4; ++x) {
            EXPECT_TRUE(dithered.Value(x, y, 0) == 12 || dithered.Value(x, y, 0) == 13);
            EXPECT_EQ(dithered.Value(x, y, 0), dithered.Value(x + 4, y + 4, 0));
            sum += dithered.Value(x, y, 0);
        }
    }
    EXPECT_EQ(sum, 12 * 16 + 3);
    TextureLevel rounded;
    ASSERT_EQ(rounded.BuildFromImage(ToDecoded(flat), 8, 8, r5g6b5, ResampleFilter::kTent, false),
              S_OK);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 8; ++x) {
            EXPECT_EQ(rounded.Value(x, y, 0), 12u);
        }
    }
}

TEST(TextureLevelTest, MipChainAveragesFourTexelsRoundingAsSpecified) {
    const TestImage image = PatternImage(37, 19, true);
    TextureLevel above;
    ASSERT_EQ(above.BuildFromImage(ToDecoded(image), 37, 19, *FindTexelLayout(D3DFMT_A8R8G8B8),
                                   ResampleFilter::kTent, true),
              S_OK);
    // The plain reference: every level from the one above, (a + b + c + d + 2) / 4, sides of
    // one repeating their texel.
    std::vector<std::vector<uint32_t>> reference{image.argb};
    uint32_t w = 37;
    uint32_t h = 19;
    while (w > 1 || h > 1) {
        const uint32_t nw = std::max(1u, w / 2);
        const uint32_t nh = std::max(1u, h / 2);
        std::vector<uint32_t> next;
        const std::vector<uint32_t>& up = reference.back();
        for (uint32_t y = 0; y < nh; ++y) {
            for (uint32_t x = 0; x < nw; ++x) {
                const uint32_t xs[2] = {std::min(2 * x, w - 1), std::min(2 * x + 1, w - 1)};
                const uint32_t ys[2] = {std::min(2 * y, h - 1), std::min(2 * y + 1, h - 1)};
                uint32_t texel = 0;
                for (int shift : kArgbShifts) {
                    uint32_t sum = 0;
                    for (uint32_t yy : ys) {
                        for (uint32_t xx : xs) {
                            sum += (up[yy * w + xx] >> shift) & 0xFF;
                        }
                    }
                    texel |= ((sum + 2) / 4) << shift;
                }
                next.push_back(texel);
            }
        }
        reference.push_back(next);
        w = nw;
        h = nh;
    }
    ASSERT_EQ(reference.size(), 6u);  // 37x19, 18x9, 9x4, 4x2, 2x1, 1x1
    for (size_t level = 1; level < reference.size(); ++level) {
        TextureLevel below;
        ASSERT_EQ(below.BuildHalf(above, std::max(1u, above.Width() / 2),
                                  std::max(1u, above.Height() / 2)),
                  S_OK);
        for (uint32_t y = 0; y < below.Height(); ++y) {
            for (uint32_t x = 0; x < below.Width(); ++x) {
                for (int f = 0; f < 4; ++f) {
                    EXPECT_EQ(below.Value(x, y, f),
                              (reference[level][y * below.Width() + x] >> kArgbShifts[f]) & 0xFF)
                        << "level " << level << " at " << x << "," << y;
                }
            }
        }
        above = below;
    }
}

uint32_t StoredTexel(D3DFORMAT format, uint32_t argb) {
    const TexelLayout& layout = *FindTexelLayout(format);
    TextureLevel level;
    EXPECT_EQ(level.BuildFromImage(ToDecoded(TestImage{1, 1, {argb}}), 1, 1, layout,
                                   ResampleFilter::kTent, false),
              S_OK);
    uint8_t bytes[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    level.Store(bytes, 4);
    uint32_t value = 0;
    for (unsigned b = 0; b < layout.bytesPerTexel; ++b) {
        value |= static_cast<uint32_t>(bytes[b]) << (8 * b);
    }
    for (unsigned b = layout.bytesPerTexel; b < 4; ++b) {
        EXPECT_EQ(bytes[b], 0xAA) << "wrote past the texel of format " << format;
    }
    return value;
}

TEST(TextureLevelTest, TexelsArePackedInEachFormat) {
    EXPECT_EQ(StoredTexel(D3DFMT_A8R8G8B8, 0x80123456), 0x80123456u);
    EXPECT_EQ(StoredTexel(D3DFMT_X8R8G8B8, 0x00123456), 0xFF123456u);
    EXPECT_EQ(StoredTexel(D3DFMT_R8G8B8, 0x00123456), 0x123456u);
    EXPECT_EQ(StoredTexel(D3DFMT_R5G6B5, 0xFFFF0000), 0xF800u);
    EXPECT_EQ(StoredTexel(D3DFMT_R5G6B5, 0xFF00FF00), 0x07E0u);
    EXPECT_EQ(StoredTexel(D3DFMT_X1R5G5B5, 0x000000FF), 0x801Fu);
    EXPECT_EQ(StoredTexel(D3DFMT_A1R5G5B5, 0x00FFFFFF), 0x7FFFu);
    EXPECT_EQ(StoredTexel(D3DFMT_A1R5G5B5, 0xFF000000), 0x8000u);
    EXPECT_EQ(StoredTexel(D3DFMT_A4R4G4B4, 0x88FF0011), 0x8F01u);
    EXPECT_EQ(StoredTexel(D3DFMT_X4R4G4B4, 0x00000000), 0xF000u);
    EXPECT_EQ(StoredTexel(D3DFMT_A8R3G3B2, 0x7FFF00FF), 0x7FE3u);
    EXPECT_EQ(StoredTexel(D3DFMT_A8, 0x42FFFFFF), 0x42u);
    EXPECT_EQ(StoredTexel(D3DFMT_L8, 0xFF808080), 0x80u);
    EXPECT_EQ(StoredTexel(D3DFMT_L8, 0xFFFFFFFF), 0xFFu);
    EXPECT_EQ(StoredTexel(D3DFMT_L8, 0xFF00FF00), 182u);  // green carries most of the light
    EXPECT_EQ(StoredTexel(D3DFMT_A8L8, 0x20FFFFFF), 0x20FFu);
    EXPECT_EQ(StoredTexel(D3DFMT_A2B10G10R10, 0xFFFF0000), 0xC00003FFu);
    EXPECT_EQ(StoredTexel(D3DFMT_G16R16, 0xFF01FF00), 0xFFFF0101u);
    EXPECT_EQ(FindTexelLayout(D3DFMT_DXT1), nullptr);
    EXPECT_EQ(FindTexelLayout(D3DFMT_P8), nullptr);
}

}  // namespace
