// Bounded reading of a file held in memory: little- and big-endian fields at fixed offsets, and a
// cursor for streams (RLE packets, text headers) that reports running off the end instead of
// reading past it.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint16_t ReadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadLe24(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16);
}

inline uint32_t ReadLe32(const uint8_t* p) {
    return ReadLe24(p) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint16_t ReadBe16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : data(data), size(size), position(0) {}

    size_t Position() const { return position; }
    size_t Remaining() const { return size - position; }
    bool AtEnd() const { return position == size; }

    // False, without moving, when fewer than `count` bytes are left.
    bool Take(size_t count, const uint8_t** bytes) {
        if (count > Remaining()) {
            return false;
        }
        *bytes = data + position;
        position += count;
        return true;
    }
    bool Skip(size_t count) {
        const uint8_t* ignored = nullptr;
        return Take(count, &ignored);
    }
    bool ReadByte(uint8_t* value) {
        if (position >= size) {
            return false;
        }
        *value = data[position++];
        return true;
    }
    // The next byte without consuming it; false at the end.
    bool Peek(uint8_t* value) const {
        if (position >= size) {
            return false;
        }
        *value = data[position];
        return true;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position;
};
