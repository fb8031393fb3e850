// libFuzzer entry for the MilkShape 3D loader: any bytes are written to a file and loaded as the
// game loads its models, and whatever loads is walked end to end the way the level, the trees and
// the collision read it, so a model that lies about its sizes shows up as a bad access.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/ms3d_model.h"

namespace {

const std::string& ScratchPath() {
    static const std::string path = [] {
        const char* directory = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(directory) + "/skimlark_model_fuzz_" + std::to_string(getpid()) +
               ".ms3d";
    }();
    return path;
}

bool WriteScratch(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// Every index a consumer follows stays inside the arrays, and every record is readable.
float WalkModel(const Ms3dModel& model) {
    Check(model.numVertices >= 0 && model.numTriangles >= 0 && model.numGroups >= 0 &&
          model.numMaterials >= 0);
    float sum = 0.0f;
    for (int32_t i = 0; i < model.numVertices; ++i) {
        sum += model.vertices[i].position.x + static_cast<float>(model.vertices[i].boneIndex);
    }
    for (int32_t i = 0; i < model.numTriangles; ++i) {
        for (uint32_t corner = 0; corner < 3; ++corner) {
            const uint32_t index = model.triangles[i].vertexIndices[corner];
            Check(index < static_cast<uint32_t>(model.numVertices));
            sum += model.vertices[index].position.z + model.triangles[i].normals[corner].y +
                   model.triangles[i].s[corner] + model.triangles[i].t[corner];
        }
    }
    for (int32_t g = 0; g < model.numGroups; ++g) {
        const Ms3dGroup& group = model.groups[g];
        Check(group.numTriangles >= 0);
        for (int32_t i = 0; i < group.numTriangles; ++i) {
            Check(group.triangleIndices[i] < static_cast<uint32_t>(model.numTriangles));
        }
        Check(group.materialIndex >= -1 && group.materialIndex < model.numMaterials);
    }
    for (int32_t m = 0; m < model.numMaterials; ++m) {
        const Ms3dMaterial& material = model.materials[m];
        Check(material.textureName != nullptr && std::strlen(material.textureName) < 128);
        sum += material.diffuse.r + material.power;
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!WriteScratch(data, size)) {
        return 0;
    }
    Ms3dModel* model = LoadMs3dModel(ScratchPath().c_str());
    if (model != nullptr) {
        volatile float sink = WalkModel(*model);
        (void)sink;
        delete model;
    }
    return 0;
}
