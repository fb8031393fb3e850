#include "environment/tree_field.h"

#include <cstring>
#include <memory>
#include <new>

#include "d3dx/d3dx_texture.h"
#include "model/ms3d_model.h"
#include "render/release_and_clear.h"

namespace {

const float kTreeLift = 8.0f;     // the triangle's centre above the foot point
const float kCullRadius = 10.0f;  // sphere around the foot point
const DWORD kKeyedSize = 300;
const D3DCOLOR kBlackKey = 0xFF000000;

// The upper-right half of a 20 x 20 square: it shows the part of the tree image above the
// diagonal from the top-left to the bottom-right corner.
const ColorVertex kBaseTriangle[3] = {
    {-10, 10, 0, 0, 0, -1, 0xFFFFFFFF, 0, 0},
    {10, 10, 0, 0, 0, -1, 0xFFFFFFFF, 1, 0},
    {10, -10, 0, 0, 0, -1, 0xFFFFFFFF, 1, 1},
};

HRESULT LoadKeyedTexture(IDirect3DDevice8* device, const char* path, IDirect3DTexture8** texture) {
    return D3DXCreateTextureFromFileExA(device, path, kKeyedSize, kKeyedSize, 0, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, kBlackKey,
                                        nullptr, nullptr, texture);
}

}  // namespace

TreeField::TreeField()
    : trees(nullptr),
      treeCount(0),
      vertexBuffer(nullptr),
      treeTexture(nullptr),
      leafTexture(nullptr),
      treesInView(0),
      lastResult(S_OK) {}

TreeField::~TreeField() {
    Release();
}

ParticleSystemSettings TreeField::LeafSettings() {
    ParticleSystemSettings s{};
    s.origin = D3DXVECTOR3(0, 0, 0);
    s.originSpread = D3DXVECTOR3(1, 1, 1);
    s.velocity = D3DXVECTOR3(0, 0, 0);
    s.velocitySpread = D3DXVECTOR3(0.1f, 0.1f, 0.1f);
    s.gravity = 0.01f;
    s.gravitySpread = 0.0101f;  // above the gravity itself: some leaves rise slowly
    s.life = 300;
    s.lifeSpread = 100;
    s.startColor = D3DXCOLOR(1.0f, 0.3f, 0.0f, 0.5f);
    s.endColor = D3DXCOLOR(1.0f, 0.0f, 0.0f, 0.5f);
    s.count = 150;
    s.drift = D3DXVECTOR3(0.2f, 0, 0);
    s.halfWidth = 0.8f;
    s.halfHeight = 0.8f;
    s.respawn = 1;
    return s;
}

HRESULT TreeField::Load(IDirect3DDevice8* device) {
    Release();

    std::unique_ptr<Ms3dModel> model(LoadMs3dModel("data/trees.ms3d"));
    if (!model) {
        return E_FAIL;
    }
    // The last point of the model plants no tree. A model with fewer than two points plants
    // none, and then needs no buffer either.
    treeCount = model->numVertices > 1 ? model->numVertices - 1 : 0;
    if (treeCount > 0) {
        trees = new (std::nothrow) TreeInstance[treeCount];
        if (trees == nullptr) {
            treeCount = 0;
            lastResult = E_OUTOFMEMORY;
            return lastResult;
        }
    }

    const ParticleSystemSettings settings = LeafSettings();
    for (int32_t i = 0; i < treeCount; ++i) {
        TreeInstance& tree = trees[i];
        tree.position = model->vertices[i].position;
        lastResult = tree.leaves.Create(settings, device);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        std::memcpy(tree.baseVertices, kBaseTriangle, sizeof(kBaseTriangle));
        std::memcpy(tree.worldVertices, tree.baseVertices, sizeof(tree.baseVertices));
        D3DXMatrixIdentity(&tree.worldMatrix);
        D3DXMatrixTranslation(&tree.worldMatrix, tree.position.x, tree.position.y + kTreeLift,
                              tree.position.z);
        tree.visible = 0;
    }

    // Leaves before trees: a missing leaf image fails before the tree image is opened.
    lastResult = LoadKeyedTexture(device, "data/leaftexture.bmp", &leafTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = LoadKeyedTexture(device, "data/treetexture.bmp", &treeTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return CreateTreeBuffer(device);
}

HRESULT TreeField::CreateTreeBuffer(IDirect3DDevice8* device) {
    if (trees == nullptr) {
        return S_OK;  // no trees, no buffer
    }
    lastResult = device->CreateVertexBuffer(static_cast<UINT>(treeCount) * sizeof(kBaseTriangle),
                                            D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kColorVertexFvf,
                                            D3DPOOL_DEFAULT, &vertexBuffer);
    return FAILED(lastResult) ? lastResult : S_OK;
}

void TreeField::ReleaseDefaultPool() {
    ReleaseAndClear(vertexBuffer);
    if (trees != nullptr) {
        for (int32_t i = 0; i < treeCount; ++i) {
            trees[i].leaves.ReleaseDefaultPool();
        }
    }
}

HRESULT TreeField::RestoreDefaultPool(IDirect3DDevice8* device) {
    ReleaseDefaultPool();
    if (trees != nullptr) {
        for (int32_t i = 0; i < treeCount; ++i) {
            lastResult = trees[i].leaves.RestoreDefaultPool(device);
            if (FAILED(lastResult)) {
                return lastResult;
            }
        }
    }
    return CreateTreeBuffer(device);
}

HRESULT TreeField::Render(D3DXVECTOR3 cameraRotation, const Frustum& frustum,
                          IDirect3DDevice8* device) {
    lastResult = RenderTrees(cameraRotation, frustum, device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return RenderFallingLeaves(device);
}

HRESULT TreeField::SetAlphaTest(IDirect3DDevice8* device) {
    // Keyed-out black has alpha 0; the test stays on for whatever is drawn after the trees.
    lastResult = device->SetRenderState(D3DRS_ALPHAREF, 0);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    return lastResult;
}

HRESULT TreeField::PlaceTreesInView(const D3DXMATRIX& billboard, const Frustum& frustum) {
    BYTE* data = nullptr;
    lastResult = vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    for (int32_t i = 0; i < treeCount; ++i) {
        TreeInstance& tree = trees[i];
        tree.visible =
            frustum.SphereInFrustum(tree.position.x, tree.position.y, tree.position.z, kCullRadius)
                ? 1
                : 0;
        if (!tree.visible) {
            continue;
        }
        D3DXMATRIX placement;
        D3DXMatrixMultiply(&placement, &billboard, &tree.worldMatrix);
        for (int k = 0; k < 3; ++k) {
            const ColorVertex& base = tree.baseVertices[k];
            ColorVertex& placed = tree.worldVertices[k];
            const D3DXVECTOR3 position(base.x, base.y, base.z);
            const D3DXVECTOR3 normal(base.nx, base.ny, base.nz);
            D3DXVECTOR3 out;
            D3DXVec3TransformCoord(&out, &position, &placement);
            placed.x = out.x;
            placed.y = out.y;
            placed.z = out.z;
            D3DXVec3TransformNormal(&out, &normal, &placement);
            placed.nx = out.x;
            placed.ny = out.y;
            placed.nz = out.z;
        }
        std::memcpy(data + treesInView * sizeof(tree.worldVertices), tree.worldVertices,
                    sizeof(tree.worldVertices));
        ++treesInView;
    }
    lastResult = vertexBuffer->Unlock();
    return lastResult;
}

HRESULT TreeField::RenderTrees(D3DXVECTOR3 cameraRotation, const Frustum& frustum,
                               IDirect3DDevice8* device) {
    treesInView = 0;
    // The camera's own rotation turns every triangle to face it.
    D3DXMATRIX pitch;
    D3DXMATRIX yaw;
    D3DXMATRIX roll;
    D3DXMatrixRotationX(&pitch, cameraRotation.x);
    D3DXMatrixRotationY(&yaw, cameraRotation.y);
    D3DXMatrixRotationZ(&roll, cameraRotation.z);
    D3DXMATRIX billboard;
    D3DXMatrixMultiply(&billboard, &pitch, &yaw);
    D3DXMatrixMultiply(&billboard, &billboard, &roll);

    if (FAILED(SetAlphaTest(device))) {
        return lastResult;
    }
    if (vertexBuffer == nullptr) {
        return S_OK;  // no trees were planted
    }
    if (FAILED(PlaceTreesInView(billboard, frustum)) || treesInView == 0) {
        return FAILED(lastResult) ? lastResult : S_OK;
    }
    lastResult = device->SetTexture(0, treeTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = BindColorVertices(device, vertexBuffer);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    lastResult = device->SetTransform(D3DTS_WORLD, &identity);  // already in world space
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, treesInView);
    return lastResult;
}

HRESULT TreeField::RenderFallingLeaves(IDirect3DDevice8* device) {
    return RenderLeaves(device, [](ParticleSystem& leaves) { return leaves.Update(); });
}

HRESULT TreeField::RenderStillLeaves(IDirect3DDevice8* device) {
    return RenderLeaves(device, [](ParticleSystem& leaves) { return leaves.WriteVertices(); });
}

HRESULT TreeField::RenderLeaves(IDirect3DDevice8* device,
                                HRESULT (*prepare)(ParticleSystem& leaves)) {
    if (treesInView == 0) {
        return S_OK;
    }
    // The emitters bind no texture of their own.
    lastResult = device->SetTexture(0, leafTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    D3DXMATRIX leafOffset;
    D3DXMatrixTranslation(&leafOffset, 0, kTreeLift, 0);
    for (int32_t i = 0; i < treeCount; ++i) {
        TreeInstance& tree = trees[i];
        if (!tree.visible) {
            continue;
        }
        lastResult = prepare(tree.leaves);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        // The emitter's space sits 16 units above the foot point and does not turn.
        D3DXMATRIX leafWorld;
        D3DXMatrixMultiply(&leafWorld, &leafOffset, &tree.worldMatrix);
        lastResult = tree.leaves.Render(device, leafWorld);
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    return S_OK;
}

HRESULT TreeField::Release() {
    if (trees != nullptr) {
        for (int32_t i = 0; i < treeCount; ++i) {
            trees[i].leaves.Release();
        }
        delete[] trees;
        trees = nullptr;
    }
    ReleaseAndClear(vertexBuffer);
    ReleaseAndClear(treeTexture);
    ReleaseAndClear(leafTexture);
    return S_OK;
}
