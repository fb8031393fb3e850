// Reads MilkShape 3D model files (vertices, triangles, groups, materials) into an Ms3dModel, and
// joins content names to the data directory. The whole file is read first and every field is
// taken through a bounds-checked cursor, so a short or inconsistent file is refused instead of
// being read past its end or indexed out of range by the model's users.
#include "model/ms3d_model.h"

#include <cstring>
#include <new>
#include <vector>

#include "d3dx/content_failure.h"
#include "d3dx/content_file.h"

namespace {

const char kIdentifier[10] = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'};
const int32_t kFirstVersion = 3;

const size_t kVertexRecordSize = 15;
const size_t kTriangleRecordSize = 70;
const size_t kSmallestGroupRecordSize = 36;
const size_t kMaterialRecordSize = 361;
const size_t kGroupNameSize = 32;
const size_t kMaterialNameSize = 32;
const size_t kTextureNameSize = 128;

// Little-endian reads over the file's bytes; a read past the end fails and leaves the cursor at
// the end, so the first failure is enough to give up.
class ByteCursor {
public:
    explicit ByteCursor(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    size_t Remaining() const { return bytes_.size() - position_; }

    bool Skip(size_t count) {
        if (count > Remaining()) {
            position_ = bytes_.size();
            return false;
        }
        position_ += count;
        return true;
    }

    bool ReadBytes(void* out, size_t count) {
        if (count > Remaining()) {
            position_ = bytes_.size();
            return false;
        }
        std::memcpy(out, bytes_.data() + position_, count);
        position_ += count;
        return true;
    }

    bool ReadU8(uint8_t* out) { return ReadBytes(out, 1); }

    bool ReadU16(uint16_t* out) {
        uint8_t b[2];
        if (!ReadBytes(b, 2)) {
            return false;
        }
        *out = static_cast<uint16_t>(b[0] | (b[1] << 8));
        return true;
    }

    bool ReadU32(uint32_t* out) {
        uint8_t b[4];
        if (!ReadBytes(b, 4)) {
            return false;
        }
        *out = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
               (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }

    bool ReadFloat(float* out) {
        uint32_t bits;
        if (!ReadU32(&bits)) {
            return false;
        }
        std::memcpy(out, &bits, sizeof(bits));
        return true;
    }

    bool ReadFloats(float* out, int count) {
        for (int i = 0; i < count; ++i) {
            if (!ReadFloat(&out[i])) {
                return false;
            }
        }
        return true;
    }

    bool ReadColor(D3DCOLORVALUE* out) {
        float c[4];
        if (!ReadFloats(c, 4)) {
            return false;
        }
        out->r = c[0];
        out->g = c[1];
        out->b = c[2];
        out->a = c[3];
        return true;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t position_ = 0;
};

// A section of `count` records of at least `recordSize` bytes must fit in what is left, so that
// no count can ask for more memory than the file could fill.
bool SectionFits(const ByteCursor& cursor, size_t count, size_t recordSize) {
    return count <= cursor.Remaining() / recordSize;
}

bool ReadVertices(ByteCursor& cursor, Ms3dModel* model) {
    uint16_t count;
    if (!cursor.ReadU16(&count) || !SectionFits(cursor, count, kVertexRecordSize)) {
        return false;
    }
    if (count > 0) {
        model->vertices = new (std::nothrow) Ms3dVertex[count];
        if (model->vertices == nullptr) {
            return false;
        }
    }
    model->numVertices = count;
    for (int i = 0; i < model->numVertices; ++i) {
        uint8_t flags;
        float position[3];
        uint8_t bone;
        uint8_t referenceCount;
        if (!cursor.ReadU8(&flags) || !cursor.ReadFloats(position, 3) || !cursor.ReadU8(&bone) ||
            !cursor.ReadU8(&referenceCount)) {
            return false;
        }
        Ms3dVertex& vertex = model->vertices[i];
        vertex.position = D3DXVECTOR3(position[0], position[1], -position[2]);
        vertex.boneIndex = static_cast<int8_t>(bone) < 0 ? -1 : bone;
    }
    return true;
}

bool ReadTriangles(ByteCursor& cursor, Ms3dModel* model) {
    uint16_t count;
    if (!cursor.ReadU16(&count) || !SectionFits(cursor, count, kTriangleRecordSize)) {
        return false;
    }
    if (count > 0) {
        model->triangles = new (std::nothrow) Ms3dTriangle[count];
        if (model->triangles == nullptr) {
            return false;
        }
    }
    model->numTriangles = count;
    for (int i = 0; i < model->numTriangles; ++i) {
        uint16_t flags;
        uint16_t indices[3];
        float normals[9];
        float s[3];
        float t[3];
        uint8_t smoothingGroup;
        uint8_t groupIndex;
        if (!cursor.ReadU16(&flags) || !cursor.ReadU16(&indices[0]) ||
            !cursor.ReadU16(&indices[1]) || !cursor.ReadU16(&indices[2]) ||
            !cursor.ReadFloats(normals, 9) || !cursor.ReadFloats(s, 3) ||
            !cursor.ReadFloats(t, 3) || !cursor.ReadU8(&smoothingGroup) ||
            !cursor.ReadU8(&groupIndex)) {
            return false;
        }
        Ms3dTriangle& triangle = model->triangles[i];
        for (int k = 0; k < 3; ++k) {
            // Every user indexes the vertex array with these directly.
            if (indices[k] >= model->numVertices) {
                return false;
            }
            triangle.vertexIndices[k] = indices[k];
            triangle.normals[k] =
                D3DXVECTOR3(normals[3 * k], normals[3 * k + 1], -normals[3 * k + 2]);
            triangle.s[k] = s[k];
            triangle.t[k] = t[k];
        }
    }
    return true;
}

bool ReadGroups(ByteCursor& cursor, Ms3dModel* model) {
    uint16_t count;
    if (!cursor.ReadU16(&count) || !SectionFits(cursor, count, kSmallestGroupRecordSize)) {
        return false;
    }
    if (count > 0) {
        model->groups = new (std::nothrow) Ms3dGroup[count];
        if (model->groups == nullptr) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            model->groups[i].numTriangles = 0;
            model->groups[i].triangleIndices = nullptr;
            model->groups[i].materialIndex = -1;
        }
    }
    model->numGroups = count;
    for (int i = 0; i < model->numGroups; ++i) {
        Ms3dGroup& group = model->groups[i];
        uint8_t flags;
        uint16_t triangleCount;
        if (!cursor.ReadU8(&flags) || !cursor.Skip(kGroupNameSize) ||
            !cursor.ReadU16(&triangleCount) || !SectionFits(cursor, triangleCount, 2)) {
            return false;
        }
        if (triangleCount > 0) {
            group.triangleIndices = new (std::nothrow) uint32_t[triangleCount];
            if (group.triangleIndices == nullptr) {
                return false;
            }
        }
        group.numTriangles = triangleCount;
        for (int k = 0; k < group.numTriangles; ++k) {
            uint16_t index;
            if (!cursor.ReadU16(&index) || index >= model->numTriangles) {
                return false;
            }
            group.triangleIndices[k] = index;
        }
        uint8_t material;
        if (!cursor.ReadU8(&material)) {
            return false;
        }
        group.materialIndex = static_cast<int8_t>(material);
    }
    return true;
}

bool ReadMaterials(ByteCursor& cursor, Ms3dModel* model) {
    uint16_t count;
    if (!cursor.ReadU16(&count) || !SectionFits(cursor, count, kMaterialRecordSize)) {
        return false;
    }
    if (count > 0) {
        model->materials = new (std::nothrow) Ms3dMaterial[count];
        if (model->materials == nullptr) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            model->materials[i].textureName = nullptr;
        }
    }
    model->numMaterials = count;
    for (int i = 0; i < model->numMaterials; ++i) {
        Ms3dMaterial& material = model->materials[i];
        float transparency;
        uint8_t mode;
        char textureName[kTextureNameSize];
        if (!cursor.Skip(kMaterialNameSize) || !cursor.ReadColor(&material.ambient) ||
            !cursor.ReadColor(&material.diffuse) || !cursor.ReadColor(&material.specular) ||
            !cursor.ReadColor(&material.emissive) || !cursor.ReadFloat(&material.power) ||
            !cursor.ReadFloat(&transparency) || !cursor.ReadU8(&mode) ||
            !cursor.ReadBytes(textureName, kTextureNameSize) || !cursor.Skip(kTextureNameSize)) {
            return false;
        }
        material.textureName = new (std::nothrow) char[kTextureNameSize];
        if (material.textureName == nullptr) {
            return false;
        }
        // A field with no NUL keeps its first 127 characters, so the name always ends.
        size_t length = 0;
        while (length < kTextureNameSize - 1 && textureName[length] != '\0') {
            ++length;
        }
        std::memcpy(material.textureName, textureName, length);
        std::memset(material.textureName + length, 0, kTextureNameSize - length);
    }
    return true;
}

// Group material indices are checked once the material count is known; any negative value other
// than -1 would index before the array.
bool MaterialIndicesInRange(const Ms3dModel& model) {
    for (int i = 0; i < model.numGroups; ++i) {
        const int32_t index = model.groups[i].materialIndex;
        if (index < -1 || index >= model.numMaterials) {
            return false;
        }
    }
    return true;
}

bool ReadModel(const std::vector<uint8_t>& bytes, Ms3dModel* model) {
    ByteCursor cursor(bytes);
    char identifier[sizeof(kIdentifier)];
    uint32_t version;
    if (!cursor.ReadBytes(identifier, sizeof(identifier)) || !cursor.ReadU32(&version)) {
        return false;
    }
    if (std::memcmp(identifier, kIdentifier, sizeof(kIdentifier)) != 0 ||
        static_cast<int32_t>(version) < kFirstVersion) {
        return false;
    }
    return ReadVertices(cursor, model) && ReadTriangles(cursor, model) &&
           ReadGroups(cursor, model) && ReadMaterials(cursor, model) &&
           MaterialIndicesInRange(*model);
}

}  // namespace

Ms3dModel::Ms3dModel()
    : numVertices(0),
      numTriangles(0),
      numGroups(0),
      numMaterials(0),
      vertices(nullptr),
      triangles(nullptr),
      groups(nullptr),
      materials(nullptr) {}

Ms3dModel::~Ms3dModel() {
    delete[] vertices;
    delete[] triangles;
    if (groups != nullptr) {
        for (int i = 0; i < numGroups; ++i) {
            delete[] groups[i].triangleIndices;
        }
        delete[] groups;
    }
    if (materials != nullptr) {
        for (int i = 0; i < numMaterials; ++i) {
            delete[] materials[i].textureName;
        }
        delete[] materials;
    }
}

Ms3dModel* LoadMs3dModel(const char* path) {
    std::vector<uint8_t> bytes;
    if (!ReadContentFile(path, &bytes)) {
        return nullptr;
    }
    Ms3dModel* model = new (std::nothrow) Ms3dModel();
    if (model == nullptr) {
        return nullptr;
    }
    if (!ReadModel(bytes, model)) {
        NoteContentFailure(ContentFailureKind::kCannotDecode, path);
        delete model;
        return nullptr;
    }
    return model;
}

char* JoinDataPath(const char* fileName, const char* directory) {
    const char* name = fileName != nullptr ? fileName : "";
    const char* dir = directory != nullptr ? directory : "";
    size_t tail = std::strlen(name);
    while (tail > 0 && name[tail] != '/' && name[tail] != '\\') {
        --tail;
    }
    const size_t dirLength = std::strlen(dir);
    const size_t tailLength = std::strlen(name + tail);
    char* joined = new (std::nothrow) char[dirLength + tailLength + 1];
    if (joined == nullptr) {
        return nullptr;
    }
    std::memcpy(joined, dir, dirLength);
    std::memcpy(joined + dirLength, name + tail, tailLength + 1);
    return joined;
}
