// Writes the fuzzer's seed corpus: small images of every kind the decoders take, made with the
// tests' own encoders. Usage: image_fuzz_seeds DIRECTORY
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/image_file_writers.h"

namespace {

int written = 0;

bool Seed(const std::string& directory, const std::string& name, const Bytes& bytes) {
    ++written;
    return WriteBytesToFile(directory + "/" + name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_fuzz_seeds DIRECTORY\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    const TestImage image = PatternImage(9, 6, true);
    const TestImage opaque = PatternImage(9, 6, false);
    bool ok = true;

    std::vector<uint8_t> indices;
    for (uint32_t i = 0; i < 9 * 6; ++i) {
        indices.push_back(static_cast<uint8_t>((i / 3) % 4));
    }
    for (uint16_t bits : {1, 4, 8}) {
        BmpLayout layout;
        layout.width = 9;
        layout.height = 6;
        layout.bitCount = bits;
        layout.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
        layout.colorsUsed = bits == 1 ? 2 : 4;
        std::vector<uint8_t> clamped = indices;
        for (uint8_t& index : clamped) {
            index = static_cast<uint8_t>(index % layout.colorsUsed);
        }
        layout.pixels = PackIndexRows(clamped, 9, 6, bits);
        ok &= Seed(dir, "palette" + std::to_string(bits) + ".bmp", AssembleBmp(layout));
        if (bits != 1) {
            layout.compression = bits == 8 ? 1 : 2;
            layout.pixels = EncodeRle(clamped, 9, 6, bits == 4);
            ok &= Seed(dir, "rle" + std::to_string(bits) + ".bmp", AssembleBmp(layout));
        }
    }
    for (uint16_t bits : {16, 24, 32}) {
        BmpLayout layout;
        layout.width = 9;
        layout.height = -6;
        layout.bitCount = bits;
        layout.pixels = PackBmpRows(opaque, bits, true);
        ok &= Seed(dir, "topdown" + std::to_string(bits) + ".bmp", AssembleBmp(layout));
        ok &= Seed(dir, "dib" + std::to_string(bits) + ".dib", AssembleDib(layout));
    }
    const uint32_t fieldSets[][4] = {{0xF800, 0x07E0, 0x001F, 0},
                                     {0x0F00, 0x00F0, 0x000F, 0xF000},
                                     {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}};
    for (int i = 0; i < 3; ++i) {
        BmpLayout layout;
        layout.width = 9;
        layout.height = 6;
        layout.bitCount = i == 2 ? 32 : 16;
        layout.compression = 3;
        layout.headerSize = 56;
        layout.masks.assign(fieldSets[i], fieldSets[i] + 4);
        layout.pixels = PackMaskedRows(image, layout.bitCount, fieldSets[i]);
        ok &= Seed(dir, "fields" + std::to_string(i) + ".bmp", AssembleBmp(layout));
    }

    for (uint8_t type : {2, 10}) {
        for (uint8_t depth : {16, 24, 32}) {
            TgaLayout layout;
            layout.imageType = type;
            layout.depth = depth;
            layout.descriptor = depth == 32 ? 0x28 : 0x01;
            ok &= Seed(dir, "true" + std::to_string(type) + "_" + std::to_string(depth) + ".tga",
                       WriteTga(image, layout));
        }
    }
    TestImage few{6, 4, {}};
    for (uint32_t i = 0; i < 24; ++i) {
        few.argb.push_back(i % 3 == 0 ? 0xFF102030 : (i % 3 == 1 ? 0x80FFFFFF : 0xFF000000));
    }
    for (uint8_t type : {1, 9}) {
        TgaLayout layout;
        layout.imageType = type;
        layout.depth = 8;
        layout.colorMap = {0xFF102030, 0x80FFFFFF, 0xFF000000};
        layout.colorMapDepth = 32;
        layout.colorMapFirst = 1;
        ok &= Seed(dir, "mapped" + std::to_string(type) + ".tga", WriteTga(few, layout));
        layout.imageType = type + 2;
        layout.colorMap.clear();
        layout.depth = 16;
        ok &= Seed(dir, "grey" + std::to_string(type) + ".tga", WriteTga(image, layout));
    }

    ok &= Seed(dir, "colour.ppm", WritePpm(image, true, false));
    ok &= Seed(dir, "plain.ppm", WritePpm(image, false, false, 1000, "comment"));
    ok &= Seed(dir, "grey16.pgm", WritePpm(image, true, true, 65535));
    ok &= Seed(dir, "plain.pgm", WritePpm(image, false, true, 15));

    const uint32_t argbMasks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const uint32_t lumMasks[4] = {0xFF, 0, 0, 0xFF00};
    ok &= Seed(dir, "argb.dds", WriteDdsUncompressed(image, 0x41, 32, argbMasks));
    ok &= Seed(dir, "lum.dds", WriteDdsUncompressed(image, 0x20001, 16, lumMasks));
    Bytes blocks;
    for (int i = 0; i < 4 * 16; ++i) {
        blocks.push_back(static_cast<uint8_t>(i * 37 + 11));
    }
    ok &= Seed(dir, "dxt1.dds",
               WriteDdsBlocks(9, 6, "DXT1", Bytes(blocks.begin(), blocks.begin() + 48)));
    ok &= Seed(dir, "dxt3.dds",
               WriteDdsBlocks(8, 4, "DXT3", Bytes(blocks.begin(), blocks.begin() + 32)));
    ok &= Seed(dir, "dxt5.dds", WriteDdsBlocks(5, 7, "DXT5", blocks));

    ok &= Seed(dir, "rgba.png", WritePng(image, PngKind::kRgba));
    ok &= Seed(dir, "rgb16.png", WritePng(image, PngKind::kRgb, 16, true));
    ok &= Seed(dir, "grey2.png", WritePng(image, PngKind::kGrey, 2));
    ok &= Seed(dir, "greyalpha.png", WritePng(image, PngKind::kGreyAlpha));
    ok &= Seed(dir, "palette.png", WritePng(few, PngKind::kPalette));
    ok &= Seed(dir, "baseline.jpg", WriteJpeg(opaque, 80));
    ok &= Seed(dir, "progressive.jpg", WriteJpeg(PatternImage(20, 17), 60, false, true));
    ok &= Seed(dir, "grey.jpg", WriteJpeg(opaque, 70, true));

    if (!ok) {
        std::fprintf(stderr, "image_fuzz_seeds: could not write every seed into %s\n", dir.c_str());
        return 1;
    }
    std::printf("%d seeds in %s\n", written, dir.c_str());
    return 0;
}
