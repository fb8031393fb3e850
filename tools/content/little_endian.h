// Little-endian fields for the binary formats the content tool writes (bitmaps, icons).
#pragma once

#include <cstdint>
#include <vector>

namespace content {

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFFu);
    PutU16(out, v >> 16);
}

}  // namespace content
