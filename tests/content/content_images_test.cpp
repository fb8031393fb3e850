// The content tool's images: encoders, and the properties the game's way of drawing needs.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tools/content/ico_writer.h"
#include "tools/content/icon_painter.h"
#include "tools/content/image_writers.h"
#include "tools/content/sea_textures.h"
#include "tools/content/sky.h"
#include "tools/content/sprite_images.h"

namespace {

using content::Image;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(ContentImagesTest, BitmapIsBottomUp24BitWithPaddedRows) {
    Image image(3, 2);
    image.SetBytes(0, 0, 10, 20, 30);     // top left
    image.SetBytes(2, 1, 200, 210, 220);  // bottom right
    const std::vector<uint8_t> bmp = content::EncodeBmp(image);
    const uint32_t row = 12;  // 9 bytes padded to 12
    ASSERT_EQ(bmp.size(), 54u + 2 * row);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32At(bmp, 2), bmp.size());
    EXPECT_EQ(U32At(bmp, 10), 54u);
    EXPECT_EQ(U32At(bmp, 14), 40u);
    EXPECT_EQ(U32At(bmp, 18), 3u);
    EXPECT_EQ(U32At(bmp, 22), 2u);
    EXPECT_EQ(bmp[26] | (bmp[27] << 8), 1);   // planes
    EXPECT_EQ(bmp[28] | (bmp[29] << 8), 24);  // bits
    EXPECT_EQ(U32At(bmp, 30), 0u);            // uncompressed
    // First stored row is the bottom one, in blue-green-red order.
    EXPECT_EQ(bmp[54 + 6], 220);
    EXPECT_EQ(bmp[54 + 7], 210);
    EXPECT_EQ(bmp[54 + 8], 200);
    EXPECT_EQ(bmp[54 + row + 0], 30);
    EXPECT_EQ(bmp[54 + row + 2], 10);
}

TEST(ContentImagesTest, PngAndJpegEncodersProduceTheirFormats) {
    Image image(16, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.SetBytes(x, y, static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 32), 90);
        }
    }
    const std::vector<uint8_t> png = content::EncodePng(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
    EXPECT_EQ(png, content::EncodePng(image));
    const std::vector<uint8_t> jpeg = content::EncodeJpeg(image, 90);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    EXPECT_EQ(jpeg, content::EncodeJpeg(image, 90));
}

// Decodes a PNG to RGBA through libpng's own reader; empty when it cannot.
std::vector<uint8_t> DecodeRgba(const std::vector<uint8_t>& png, int* width, int* height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        return {};
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return pixels;
}

TEST(ContentImagesTest, PngWithAlphaKeepsEveryChannel) {
    Image image(5, 3);
    std::vector<uint8_t> alpha(15);
    for (int i = 0; i < 15; ++i) {
        image.SetBytes(i % 5, i / 5, static_cast<uint8_t>(i * 17), static_cast<uint8_t>(255 - i),
                       static_cast<uint8_t>(i * 3));
        alpha[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 18);
    }
    const std::vector<uint8_t> png = content::EncodePngWithAlpha(image, alpha);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[25], 6) << "colour type: RGB with alpha";
    EXPECT_EQ(png, content::EncodePngWithAlpha(image, alpha));
    int width = 0;
    int height = 0;
    const std::vector<uint8_t> rgba = DecodeRgba(png, &width, &height);
    ASSERT_EQ(rgba.size(), 60u);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    for (int i = 0; i < 15; ++i) {
        const uint8_t* p = image.Pixel(i % 5, i / 5);
        EXPECT_EQ(rgba[i * 4 + 0], p[0]) << i;
        EXPECT_EQ(rgba[i * 4 + 1], p[1]) << i;
        EXPECT_EQ(rgba[i * 4 + 2], p[2]) << i;
        EXPECT_EQ(rgba[i * 4 + 3], alpha[static_cast<size_t>(i)]) << i;
    }
    alpha.pop_back();
    EXPECT_TRUE(content::EncodePngWithAlpha(image, alpha).empty());
}

// A round badge: clear corners, a solid middle, smooth edges between, and a picture inside rather
// than one colour.
TEST(ContentImagesTest, IconIsARoundPictureAtEverySize) {
    for (const int size : content::IconSizes()) {
        SCOPED_TRACE(size);
        const content::IconImage icon = content::PaintIcon(size);
        ASSERT_EQ(icon.color.Width(), size);
        ASSERT_EQ(icon.color.Height(), size);
        ASSERT_EQ(icon.alpha.size(), static_cast<size_t>(size * size));
        const auto alphaAt = [&](int x, int y) { return icon.alpha[y * size + x]; };
        const int last = size - 1;
        EXPECT_EQ(alphaAt(0, 0), 0);
        EXPECT_EQ(alphaAt(last, 0), 0);
        EXPECT_EQ(alphaAt(0, last), 0);
        EXPECT_EQ(alphaAt(last, last), 0);
        EXPECT_EQ(alphaAt(size / 2, size / 2), 255);
        // The badge spans the icon, give or take a narrow margin.
        EXPECT_EQ(alphaAt(size / 2, size / 16), 255);
        EXPECT_EQ(alphaAt(size / 16, size / 2), 255);
        EXPECT_EQ(alphaAt(size - 1 - size / 16, size / 2), 255);
        int partial = 0;
        std::vector<uint32_t> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const uint8_t a = alphaAt(x, y);
                partial += a > 0 && a < 255 ? 1 : 0;
                if (a == 255) {
                    const uint8_t* p = icon.color.Pixel(x, y);
                    colours.push_back(p[0] << 16 | p[1] << 8 | p[2]);
                }
            }
        }
        EXPECT_GT(partial, size) << "edges are smoothed";
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        EXPECT_GT(colours.size(), 100u);
        // Sky above, sea below: blue at the top of the middle column, sea below the middle.
        const uint8_t* sky = icon.color.Pixel(size / 2, size / 8);
        EXPECT_GT(sky[2], sky[0]);
        const uint8_t* sea = icon.color.Pixel(size * 3 / 8, size * 3 / 4);
        EXPECT_GT(sea[2], sea[0]);
        EXPECT_GT(sea[1], sea[0]);
    }
}

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// Every size in one file, as Windows reads it: a directory of entries whose images follow one
// another to the end of the file; bitmaps hold the painted pixels bottom-up in blue-green-red-alpha
// with a mask of the transparent ones; the largest is the painted PNG itself.
TEST(ContentImagesTest, IcoHoldsEveryPaintedSize) {
    std::vector<content::IconImage> icons;
    for (const int size : content::IconSizes()) {
        icons.push_back(content::PaintIcon(size));
    }
    const std::vector<uint8_t> ico = content::EncodeIco(icons);
    ASSERT_GE(ico.size(), 6u + 16u * icons.size());
    EXPECT_EQ(U16At(ico, 0), 0);
    EXPECT_EQ(U16At(ico, 2), 1) << "an icon, not a cursor";
    ASSERT_EQ(U16At(ico, 4), icons.size());

    uint32_t expectedOffset = 6 + 16 * static_cast<uint32_t>(icons.size());
    for (size_t i = 0; i < icons.size(); ++i) {
        const int size = icons[i].color.Width();
        SCOPED_TRACE(size);
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico[entry], size % 256);
        EXPECT_EQ(ico[entry + 1], size % 256);
        EXPECT_EQ(U16At(ico, entry + 4), 1);
        EXPECT_EQ(U16At(ico, entry + 6), 32);
        const uint32_t length = U32At(ico, entry + 8);
        const uint32_t offset = U32At(ico, entry + 12);
        ASSERT_EQ(offset, expectedOffset);
        ASSERT_LE(static_cast<size_t>(offset) + length, ico.size());
        expectedOffset += length;
        const std::vector<uint8_t> image(ico.begin() + offset, ico.begin() + offset + length);
        if (size == 256) {
            EXPECT_EQ(image, content::EncodePngWithAlpha(icons[i].color, icons[i].alpha));
            continue;
        }
        const uint32_t maskRow = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
        ASSERT_EQ(length, 40 + static_cast<uint32_t>(size * size) * 4 + maskRow * size);
        EXPECT_EQ(U32At(image, 0), 40u);
        EXPECT_EQ(U32At(image, 4), static_cast<uint32_t>(size));
        EXPECT_EQ(U32At(image, 8), static_cast<uint32_t>(size) * 2) << "colour rows and mask rows";
        EXPECT_EQ(U16At(image, 14), 32);
        EXPECT_EQ(U32At(image, 16), 0u);
        // Every pixel: the stored row of picture row y is size - 1 - y.
        int masked = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const size_t stored = static_cast<size_t>(size - 1 - y) * size + x;
                const uint8_t* bgra = &image[40 + stored * 4];
                const uint8_t* rgb = icons[i].color.Pixel(x, y);
                const uint8_t alpha = icons[i].alpha[static_cast<size_t>(y) * size + x];
                ASSERT_EQ(bgra[0], rgb[2]) << x << "," << y;
                ASSERT_EQ(bgra[1], rgb[1]) << x << "," << y;
                ASSERT_EQ(bgra[2], rgb[0]) << x << "," << y;
                ASSERT_EQ(bgra[3], alpha) << x << "," << y;
                const uint8_t maskByte = image[40 + static_cast<size_t>(size * size) * 4 +
                                               (size - 1 - y) * maskRow + x / 8];
                const bool maskBit = (maskByte & (0x80 >> (x % 8))) != 0;
                ASSERT_EQ(maskBit, alpha == 0) << x << "," << y;
                masked += maskBit ? 1 : 0;
            }
        }
        EXPECT_GT(masked, 4) << "at least the corners are see-through";
    }
    EXPECT_EQ(expectedOffset, ico.size()) << "nothing after the last image";
    EXPECT_EQ(ico, content::EncodeIco(icons));
}

TEST(ContentImagesTest, IcoRefusesWhatItCannotStore) {
    EXPECT_TRUE(content::EncodeIco({}).empty());
    content::IconImage wide{Image(32, 16), std::vector<uint8_t>(32 * 16, 255)};
    EXPECT_TRUE(content::EncodeIco({wide}).empty()) << "not square";
    content::IconImage huge{Image(512, 512), std::vector<uint8_t>(512 * 512, 255)};
    EXPECT_TRUE(content::EncodeIco({huge}).empty()) << "larger than an entry can say";
    content::IconImage shortAlpha{Image(16, 16), std::vector<uint8_t>(16 * 16 - 1, 255)};
    EXPECT_TRUE(content::EncodeIco({content::PaintIcon(16), shortAlpha}).empty());
}

// The colour key is exact: what must vanish is pure black, what must show never is, and the game
// never draws below the diagonal.
void ExpectKeyedSprite(const Image& image, int minimumOpaque) {
    EXPECT_TRUE(content::IsKeyedBelowDiagonal(image));
    int opaque = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = image.Pixel(x, y);
            if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                ++opaque;
            }
        }
    }
    EXPECT_GE(opaque, minimumOpaque);
}

TEST(ContentImagesTest, SpritesShowOnlyAboveTheirDiagonal) {
    ExpectKeyedSprite(content::PaintTree(256), 256 * 256 / 10);
    ExpectKeyedSprite(content::PaintLeaf(64), 64 * 64 / 10);
    ExpectKeyedSprite(content::PaintParticle(128), 128 * 128 / 8);
}

TEST(ContentImagesTest, TreeTrunkMeetsTheBottomRightCorner) {
    // The foot of the trunk is what stands on the ground: low in the image, at its right.
    const Image tree = content::PaintTree(256);
    int lowest = -1;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const uint8_t* p = tree.Pixel(x, y);
            if (p[0] || p[1] || p[2]) {
                lowest = y;
                EXPECT_GT(y < 200 ? 255 : x, 220) << "something low at the left: " << x;
            }
        }
    }
    EXPECT_GT(lowest, 230);
}

// Mean difference between two rows or columns of an image.
double LineDifference(const Image& image, bool columns, int a, int b) {
    double sum = 0.0;
    const int n = columns ? image.Height() : image.Width();
    for (int i = 0; i < n; ++i) {
        const uint8_t* p = columns ? image.Pixel(a, i) : image.Pixel(i, a);
        const uint8_t* q = columns ? image.Pixel(b, i) : image.Pixel(i, b);
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(p[c] - q[c]);
        }
    }
    return sum / n;
}

// Across the wrap the image changes no more than between neighbours inside it.
bool Tiles(const Image& image) {
    const int last = image.Width() - 1;
    const int mid = image.Width() / 2;
    const double insideColumns = LineDifference(image, true, mid, mid + 1);
    const double insideRows = LineDifference(image, false, mid, mid + 1);
    return LineDifference(image, true, last, 0) <= insideColumns * 1.5 + 1.0 &&
           LineDifference(image, false, last, 0) <= insideRows * 1.5 + 1.0;
}

TEST(ContentImagesTest, WaterAndSandTile) {
    EXPECT_TRUE(Tiles(content::PaintWater(256)));
    EXPECT_TRUE(Tiles(content::PaintSand(256)));
    // A ramp does not.
    Image ramp(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ramp.SetBytes(x, y, static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4), 0);
        }
    }
    EXPECT_FALSE(Tiles(ramp));
}

TEST(ContentImagesTest, SkyFacesLookAlongTheirAxes) {
    struct Axis {
        float x;
        float y;
        float z;
    };
    // top, bottom, back, front, left, right
    const Axis axes[6] = {{0, 1, 0}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int face = 0; face < 6; ++face) {
        const content::Direction d = content::SkyFaceDirection(face, 0.5f, 0.5f);
        EXPECT_FLOAT_EQ(d.x, axes[face].x) << face;
        EXPECT_FLOAT_EQ(d.y, axes[face].y) << face;
        EXPECT_FLOAT_EQ(d.z, axes[face].z) << face;
    }
    // The top's image runs from -z at its bottom edge to +z at its top edge, the front's from
    // -z at its left edge to +z at its right.
    EXPECT_FLOAT_EQ(content::SkyFaceDirection(0, 0.0f, 1.0f).z, -1.0f);
    EXPECT_FLOAT_EQ(content::SkyFaceDirection(3, 1.0f, 0.5f).z, 1.0f);
    EXPECT_FLOAT_EQ(content::SkyFaceDirection(3, 0.5f, 0.0f).y, 1.0f);
}

// How much the colour changes across the cube's edges, relative to how much it changes between
// neighbouring texels inside the faces there: about 1 where the faces continue one another.
double SeamRatio(const std::vector<content::SkyFace>& faces, int size) {
    struct EdgeTexel {
        int face;
        int x;
        int y;
        int inwardX;  // the neighbour one texel further inside the face
        int inwardY;
        content::Direction d;
    };
    std::vector<EdgeTexel> edges;
    for (int face = 0; face < 6; ++face) {
        for (int i = 0; i < size; ++i) {
            const int xs[4] = {i, i, 0, size - 1};
            const int ys[4] = {0, size - 1, i, i};
            const int inX[4] = {i, i, 1, size - 2};
            const int inY[4] = {1, size - 2, i, i};
            for (int k = 0; k < 4; ++k) {
                content::Direction d =
                    content::SkyFaceDirection(face, (xs[k] + 0.5f) / size, (ys[k] + 0.5f) / size);
                const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
                edges.push_back({face,
                                 xs[k],
                                 ys[k],
                                 inX[k],
                                 inY[k],
                                 {d.x / length, d.y / length, d.z / length}});
            }
        }
    }
    double across = 0.0;
    double within = 0.0;
    for (const EdgeTexel& a : edges) {
        // The nearest texel on another face: just across the edge.
        const EdgeTexel* nearest = nullptr;
        float best = 1e9f;
        for (const EdgeTexel& b : edges) {
            if (b.face == a.face) {
                continue;
            }
            const float dx = a.d.x - b.d.x;
            const float dy = a.d.y - b.d.y;
            const float dz = a.d.z - b.d.z;
            const float distance = dx * dx + dy * dy + dz * dz;
            if (distance < best) {
                best = distance;
                nearest = &b;
            }
        }
        EXPECT_LT(std::sqrt(best), 3.0f / size);
        const Image& imageA = faces[a.face].image;
        const Image& imageB = faces[nearest->face].image;
        const uint8_t* p = imageA.Pixel(a.x, a.y);
        const uint8_t* q = imageB.Pixel(nearest->x, nearest->y);
        const uint8_t* pIn = imageA.Pixel(a.inwardX, a.inwardY);
        const uint8_t* qIn = imageB.Pixel(nearest->inwardX, nearest->inwardY);
        for (int c = 0; c < 3; ++c) {
            across += std::abs(p[c] - q[c]);
            within += 0.5 * (std::abs(p[c] - pIn[c]) + std::abs(q[c] - qIn[c]));
        }
    }
    return across / std::max(within, 1.0);
}

TEST(ContentImagesTest, SkyFacesMeetWithoutSeams) {
    const int size = 96;
    const content::Sky sky(content::Color(0.3f, 0.55f, 0.6f));
    std::vector<content::SkyFace> faces = content::PaintSkyFaces(sky, size);
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_LT(SeamRatio(faces, size), 1.5);
    // Faces on the wrong sides of the cube show at once.
    std::swap(faces[2].image, faces[3].image);
    EXPECT_GT(SeamRatio(faces, size), 2.0);
}

}  // namespace
