#include "tests/support/ms3d_writer.h"

#include <cstdio>
#include <cstring>

namespace {

class ByteWriter {
public:
    void Bytes(const void* data, size_t count) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        out.insert(out.end(), bytes, bytes + count);
    }
    void U8(uint8_t value) { out.push_back(value); }
    void U16(uint16_t value) {
        U8(static_cast<uint8_t>(value));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        U16(static_cast<uint16_t>(value));
        U16(static_cast<uint16_t>(value >> 16));
    }
    void F32(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        U32(bits);
    }
    void Zeros(size_t count) { out.insert(out.end(), count, 0); }

    std::vector<uint8_t> out;
};

}  // namespace

Ms3dWriterModel Ms3dModelOfWorldTriangles(
    const std::vector<std::array<Ms3dWriterVertex, 3>>& triangles) {
    Ms3dWriterModel model;
    model.groups.emplace_back();
    for (const auto& triangle : triangles) {
        std::array<uint16_t, 3> indices;
        for (int corner = 0; corner < 3; ++corner) {
            indices[corner] = static_cast<uint16_t>(model.vertices.size());
            const Ms3dWriterVertex& v = triangle[corner];
            model.vertices.push_back(Ms3dWriterVertex{v.x, v.y, -v.z});
        }
        model.groups[0].triangles.push_back(static_cast<uint16_t>(model.triangles.size()));
        model.triangles.push_back(indices);
    }
    return model;
}

std::vector<uint8_t> Ms3dFileBytes(const Ms3dWriterModel& model) {
    ByteWriter w;
    w.Bytes("MS3D000000", 10);
    w.U32(4);

    w.U16(static_cast<uint16_t>(model.vertices.size()));
    for (const Ms3dWriterVertex& vertex : model.vertices) {
        w.U8(0);  // flags
        w.F32(vertex.x);
        w.F32(vertex.y);
        w.F32(vertex.z);
        w.U8(0xFF);  // no bone
        w.U8(1);     // reference count
    }

    w.U16(static_cast<uint16_t>(model.triangles.size()));
    for (const auto& triangle : model.triangles) {
        w.U16(0);  // flags
        for (uint16_t index : triangle) {
            w.U16(index);
        }
        for (int corner = 0; corner < 3; ++corner) {  // normals facing +y
            w.F32(0.0f);
            w.F32(1.0f);
            w.F32(0.0f);
        }
        w.Zeros(12 + 12);  // s and t
        w.U8(1);           // smoothing group
        w.U8(0);           // group index
    }

    w.U16(static_cast<uint16_t>(model.groups.size()));
    for (const Ms3dWriterGroup& group : model.groups) {
        w.U8(0);  // flags
        char name[32] = "group";
        w.Bytes(name, sizeof(name));
        w.U16(static_cast<uint16_t>(group.triangles.size()));
        for (uint16_t index : group.triangles) {
            w.U16(index);
        }
        w.U8(static_cast<uint8_t>(group.materialIndex));
    }

    w.U16(0);  // materials
    return w.out;
}

bool WriteMs3dFile(const std::string& path, const Ms3dWriterModel& model) {
    const std::vector<uint8_t> bytes = Ms3dFileBytes(model);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
