#include "tools/capture/stored_png.h"

#include <array>
#include <cstring>

namespace {

// A stored deflate block holds at most this many bytes.
constexpr size_t kStoredBlockLimit = 65535;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        c = kCrcTable[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>* out, uint32_t value) {
    out->push_back(static_cast<uint8_t>(value >> 24));
    out->push_back(static_cast<uint8_t>(value >> 16));
    out->push_back(static_cast<uint8_t>(value >> 8));
    out->push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>* out, const char type[5], const std::vector<uint8_t>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out->data() + typeAt, out->size() - typeAt));
}

// The zlib stream: header (deflate, 32 KB window, no dictionary, fastest level), the stored
// blocks, the Adler-32 of the raw bytes.
std::vector<uint8_t> StoredZlibStream(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> stream = {0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = std::min(kStoredBlockLimit, raw.size() - offset);
        const bool last = offset + length == raw.size();
        stream.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00
        stream.push_back(static_cast<uint8_t>(length));
        stream.push_back(static_cast<uint8_t>(length >> 8));
        stream.push_back(static_cast<uint8_t>(~length));
        stream.push_back(static_cast<uint8_t>(~length >> 8));
        stream.insert(stream.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                      raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    PutBigEndian(&stream, Adler32(raw));
    return stream;
}

}  // namespace

std::vector<uint8_t> EncodeStoredPng(const std::vector<uint8_t>& rgba, int width, int height) {
    // Width and height fit PNG's 31 bits; the raw bytes must fit one chunk's 2^31 - 1 as well.
    if (width <= 0 || height <= 0) {
        return {};
    }
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    if (w > (size_t{1} << 28) / h || rgba.size() != w * h * 4) {
        return {};
    }
    std::vector<uint8_t> raw;
    raw.reserve(h * (1 + w * 3));
    for (size_t y = 0; y < h; ++y) {
        raw.push_back(0);  // filter: none
        const uint8_t* row = rgba.data() + y * w * 4;
        for (size_t x = 0; x < w; ++x) {
            raw.insert(raw.end(), row + x * 4, row + x * 4 + 3);
        }
    }

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(&header, static_cast<uint32_t>(width));
    PutBigEndian(&header, static_cast<uint32_t>(height));
    // 8 bits, truecolour, deflate, adaptive filtering, no interlace
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", StoredZlibStream(raw));
    PutChunk(&png, "IEND", {});
    return png;
}
