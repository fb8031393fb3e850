#include "model/level_model.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "d3dx/d3dx_texture.h"
#include "model/ms3d_model.h"
#include "render/release_and_clear.h"

namespace {

// What a group without a usable material draws with: lit or not, plain white.
D3DMATERIAL8 DefaultMaterial() {
    D3DMATERIAL8 material{};
    material.Diffuse = D3DCOLORVALUE{1, 1, 1, 1};
    material.Ambient = D3DCOLORVALUE{1, 1, 1, 1};
    return material;
}

std::vector<LevelVertex> BuildVertexList(const Ms3dModel& model, const Ms3dGroup& group) {
    std::vector<LevelVertex> vertices;
    vertices.reserve(static_cast<size_t>(group.numTriangles) * 3);
    for (int32_t i = 0; i < group.numTriangles; ++i) {
        const Ms3dTriangle& triangle = model.triangles[group.triangleIndices[i]];
        for (int corner = 0; corner < 3; ++corner) {
            const D3DXVECTOR3& p = model.vertices[triangle.vertexIndices[corner]].position;
            const D3DXVECTOR3& n = triangle.normals[corner];
            vertices.push_back(
                LevelVertex{p.x, p.y, p.z, n.x, n.y, n.z, triangle.s[corner], triangle.t[corner]});
        }
    }
    return vertices;
}

}  // namespace

LevelModel::LevelModel() : groups(nullptr), groupCount(0), lastResult(S_OK) {}

LevelModel::~LevelModel() {
    Release();
}

HRESULT LevelModel::Load(const char* fileName, const char* directory, IDirect3DDevice8* device) {
    Release();

    std::unique_ptr<char[]> path(JoinDataPath(fileName, directory));
    std::unique_ptr<Ms3dModel> model(LoadMs3dModel(path.get()));
    if (!model) {
        return E_FAIL;
    }

    groups = new (std::nothrow) LevelGroup[model->numGroups];
    if (groups == nullptr) {
        return E_OUTOFMEMORY;
    }
    groupCount = model->numGroups;

    for (int32_t i = 0; i < groupCount; ++i) {
        const HRESULT result = LoadGroup(*model, i, directory, device);
        if (FAILED(result)) {
            return result;
        }
    }
    return S_OK;
}

HRESULT LevelModel::LoadGroup(const Ms3dModel& model, int32_t index, const char* directory,
                              IDirect3DDevice8* device) {
    const Ms3dGroup& group = model.groups[index];
    LevelGroup& record = groups[index];

    // A group without a material (or naming one that does not exist) draws plain white and
    // untextured instead of reading outside the material list.
    const bool hasMaterial = group.materialIndex >= 0 && group.materialIndex < model.numMaterials;
    if (hasMaterial) {
        const Ms3dMaterial& material = model.materials[group.materialIndex];
        static_assert(offsetof(Ms3dMaterial, power) + sizeof(float) == sizeof(D3DMATERIAL8),
                      "a model material copies into a device material as one block");
        std::memcpy(&record.material, &material, sizeof(D3DMATERIAL8));
        std::unique_ptr<char[]> texturePath(JoinDataPath(material.textureName, directory));
        // A texture that cannot be made leaves the group untextured; the load goes on.
        if (FAILED(D3DXCreateTextureFromFileA(device, texturePath.get(), &record.texture))) {
            record.texture = nullptr;
        }
    } else {
        record.material = DefaultMaterial();
    }

    record.triangleCount = group.numTriangles;

    lastResult = device->SetMaterial(&record.material);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    // Direct3D refuses an empty vertex buffer; an empty group simply has nothing to draw.
    if (record.triangleCount == 0) {
        return S_OK;
    }

    const std::vector<LevelVertex> vertices = BuildVertexList(model, group);
    const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(LevelVertex));
    lastResult = device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, kLevelVertexFvf,
                                            D3DPOOL_MANAGED, &record.vertexBuffer);
    if (FAILED(lastResult)) {
        record.vertexBuffer = nullptr;
        return lastResult;
    }
    BYTE* data = nullptr;
    lastResult = record.vertexBuffer->Lock(0, 0, &data, 0);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    std::memcpy(data, vertices.data(), bytes);
    lastResult = record.vertexBuffer->Unlock();
    if (FAILED(lastResult)) {
        return lastResult;
    }

    const DWORD count = static_cast<DWORD>(vertices.size());
    D3DXComputeBoundingSphere(vertices.data(), count, kLevelVertexFvf, &record.sphere.center,
                              &record.sphere.radius);
    D3DXVECTOR3 low;
    D3DXVECTOR3 high;
    D3DXComputeBoundingBox(vertices.data(), count, kLevelVertexFvf, &low, &high);
    record.box.center =
        D3DXVECTOR3((low.x + high.x) / 2.0f, (low.y + high.y) / 2.0f, (low.z + high.z) / 2.0f);
    record.box.extent = high - low;
    return S_OK;
}

HRESULT LevelModel::Draw(const Frustum& frustum, bool boxTest, bool sphereTest,
                         IDirect3DDevice8* device) {
    for (int32_t i = 0; i < groupCount; ++i) {
        const LevelGroup& group = groups[i];
        // Only a load that failed part-way leaves a record without a buffer: nothing to draw.
        if (group.vertexBuffer == nullptr) {
            continue;
        }
        if (boxTest &&
            !frustum.BoxInFrustum(group.box.center.x, group.box.center.y, group.box.center.z,
                                  group.box.extent.x, group.box.extent.y, group.box.extent.z)) {
            continue;
        }
        if (sphereTest && !frustum.SphereInFrustum(group.sphere.center.x, group.sphere.center.y,
                                                   group.sphere.center.z, group.sphere.radius)) {
            continue;
        }
        lastResult = device->SetTexture(0, group.texture);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = device->SetMaterial(&group.material);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = device->SetStreamSource(0, group.vertexBuffer, sizeof(LevelVertex));
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = device->SetVertexShader(kLevelVertexFvf);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult =
            device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(group.triangleCount));
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    return S_OK;
}

HRESULT LevelModel::Release() {
    if (groups != nullptr) {
        for (int32_t i = 0; i < groupCount; ++i) {
            ReleaseAndClear(groups[i].texture);
            ReleaseAndClear(groups[i].vertexBuffer);
        }
        delete[] groups;
        groups = nullptr;
    }
    groupCount = 0;
    return S_OK;
}
