#include "tools/content/ms3d_writer.h"

#include <cstring>

namespace content {

namespace {

const size_t kMaxRecords = 65535;

class ByteSink {
public:
    explicit ByteSink(std::vector<uint8_t>& out) : out_(out) {}

    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v) {
        out_.push_back(static_cast<uint8_t>(v));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof(bits));
        U32(bits);
    }
    void Floats(const float* v, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            F32(v[i]);
        }
    }
    // A fixed-size text field: the text's first `size` bytes, padded with NULs.
    void Text(const std::string& text, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            out_.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
        }
    }

private:
    std::vector<uint8_t>& out_;
};

}  // namespace

bool Ms3dFileFitsFormat(const Ms3dFile& file) {
    if (file.vertices.size() > kMaxRecords || file.triangles.size() > kMaxRecords ||
        file.groups.size() > kMaxRecords || file.materials.size() > kMaxRecords) {
        return false;
    }
    for (const Ms3dFileGroup& group : file.groups) {
        if (group.triangleIndices.size() > kMaxRecords) {
            return false;
        }
    }
    return true;
}

namespace {

void WriteVertices(const std::vector<Ms3dFileVertex>& vertices, ByteSink& sink) {
    sink.U16(static_cast<uint16_t>(vertices.size()));
    for (const Ms3dFileVertex& v : vertices) {
        sink.U8(v.flags);
        sink.F32(v.x);
        sink.F32(v.y);
        sink.F32(v.z);
        sink.U8(static_cast<uint8_t>(v.boneIndex));
        sink.U8(v.referenceCount);
    }
}

void WriteTriangles(const std::vector<Ms3dFileTriangle>& triangles, ByteSink& sink) {
    sink.U16(static_cast<uint16_t>(triangles.size()));
    for (const Ms3dFileTriangle& t : triangles) {
        sink.U16(t.flags);
        for (uint16_t index : t.vertexIndices) {
            sink.U16(index);
        }
        for (const auto& normal : t.normals) {
            sink.Floats(normal.data(), 3);
        }
        sink.Floats(t.s.data(), 3);
        sink.Floats(t.t.data(), 3);
        sink.U8(t.smoothingGroup);
        sink.U8(t.groupIndex);
    }
}

void WriteGroups(const std::vector<Ms3dFileGroup>& groups, ByteSink& sink) {
    sink.U16(static_cast<uint16_t>(groups.size()));
    for (const Ms3dFileGroup& g : groups) {
        sink.U8(g.flags);
        sink.Text(g.name, 32);
        sink.U16(static_cast<uint16_t>(g.triangleIndices.size()));
        for (uint16_t index : g.triangleIndices) {
            sink.U16(index);
        }
        sink.U8(static_cast<uint8_t>(g.materialIndex));
    }
}

void WriteMaterials(const std::vector<Ms3dFileMaterial>& materials, ByteSink& sink) {
    sink.U16(static_cast<uint16_t>(materials.size()));
    for (const Ms3dFileMaterial& m : materials) {
        sink.Text(m.name, 32);
        sink.Floats(m.ambient.data(), 4);
        sink.Floats(m.diffuse.data(), 4);
        sink.Floats(m.specular.data(), 4);
        sink.Floats(m.emissive.data(), 4);
        sink.F32(m.shininess);
        sink.F32(m.transparency);
        sink.U8(m.mode);
        sink.Text(m.textureName, 128);
        sink.Text(m.alphaMapName, 128);
    }
}

}  // namespace

std::vector<uint8_t> EncodeMs3d(const Ms3dFile& file) {
    std::vector<uint8_t> out;
    if (!Ms3dFileFitsFormat(file)) {
        return out;
    }
    ByteSink sink(out);
    for (char c : file.identifier) {
        sink.U8(static_cast<uint8_t>(c));
    }
    sink.U32(static_cast<uint32_t>(file.version));
    WriteVertices(file.vertices, sink);
    WriteTriangles(file.triangles, sink);
    WriteGroups(file.groups, sink);
    WriteMaterials(file.materials, sink);
    if (file.writeAnimationBlock) {
        sink.F32(24.0f);  // frames per second
        sink.F32(0.0f);   // current time
        sink.U32(1);      // total frames
        sink.U16(0);      // joints
    }
    return out;
}

}  // namespace content
