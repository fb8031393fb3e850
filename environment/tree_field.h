// The trees: one camera-facing textured triangle per tree, standing on the points of a model file,
// all visible ones written into one dynamic buffer and drawn with one call; each tree sheds its
// own leaves from a particle emitter. Trees whose sphere lies outside the view are skipped with
// their leaves, which then stay frozen until the tree comes back into view.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_math.h"
#include "model/frustum.h"
#include "particles/particle_system.h"
#include "platform/direct3d8.h"
#include "render/color_vertex.h"

struct TreeInstance {
    ColorVertex baseVertices[3];
    ColorVertex worldVertices[3];
    D3DXVECTOR3 position;
    ParticleSystem leaves;
    D3DXMATRIX worldMatrix;
    uint8_t visible;
};

class TreeField {
public:
    TreeField();
    ~TreeField();
    TreeField(const TreeField&) = delete;
    TreeField& operator=(const TreeField&) = delete;

    HRESULT Load(IDirect3DDevice8* device);
    // A frame's trees and leaves: RenderTrees, then RenderFallingLeaves.
    HRESULT Render(D3DXVECTOR3 cameraRotation, const Frustum& frustum, IDirect3DDevice8* device);
    // The trees in view, turned to face the camera and drawn; the others marked out of view.
    HRESULT RenderTrees(D3DXVECTOR3 cameraRotation, const Frustum& frustum,
                        IDirect3DDevice8* device);
    // The leaves of the trees the last RenderTrees drew: each emitter a step on, as a frame
    // draws them, or as they stand, for drawing before the first frame (nothing falls).
    HRESULT RenderFallingLeaves(IDirect3DDevice8* device);
    HRESULT RenderStillLeaves(IDirect3DDevice8* device);
    HRESULT Release();

    // Around a device reset: the shared buffer and the leaf emitters' buffers live in the default
    // pool, which a reset needs empty. Restoring makes them again (each is rewritten every frame
    // before it is drawn); trees, leaves and textures stay.
    void ReleaseDefaultPool();
    HRESULT RestoreDefaultPool(IDirect3DDevice8* device);

    int32_t TreeCount() const { return trees != nullptr ? treeCount : 0; }
    const TreeInstance& Tree(int32_t index) const { return trees[index]; }

    // The settings every tree's leaf emitter is created with.
    static ParticleSystemSettings LeafSettings();

private:
    HRESULT CreateTreeBuffer(IDirect3DDevice8* device);
    HRESULT SetAlphaTest(IDirect3DDevice8* device);
    // Fills the shared buffer with the trees in view, in world space; counts them.
    HRESULT PlaceTreesInView(const D3DXMATRIX& billboard, const Frustum& frustum);
    // `prepare` readies each emitter's buffer before it is drawn.
    HRESULT RenderLeaves(IDirect3DDevice8* device, HRESULT (*prepare)(ParticleSystem& leaves));

    TreeInstance* trees;
    int32_t treeCount;
    IDirect3DVertexBuffer8* vertexBuffer;
    IDirect3DTexture8* treeTexture;
    IDirect3DTexture8* leafTexture;
    UINT treesInView;  // drawn by the last RenderTrees
    HRESULT lastResult;
};
