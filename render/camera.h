// The viewer: position and rotation, the view matrix built from them, and the fixed perspective
// projection. Owns no platform object; Apply hands both matrices to the device.
#pragma once

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

class Camera {
public:
    Camera();

    void Setup(int width, int height, D3DXVECTOR3 position, D3DXVECTOR3 rotation);
    void SetPosition(D3DXVECTOR3 position);
    void SetRotation(D3DXVECTOR3 rotation);
    void BuildView();
    HRESULT Apply(IDirect3DDevice8* device);

    D3DXMATRIX GetView() const { return view; }
    D3DXMATRIX GetProjection() const { return projection; }
    D3DXVECTOR3 GetPosition() const { return position; }
    D3DXVECTOR3 GetRotation() const { return rotation; }

private:
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXVECTOR3 position;
    D3DXVECTOR3 rotation;
    HRESULT lastResult;
};
