#include "render/camera.h"

Camera::Camera() : position(0, 0, 0), rotation(0, 0, 0), lastResult(S_OK) {
    D3DXMatrixIdentity(&view);
    D3DXMatrixIdentity(&projection);
}

void Camera::Setup(int width, int height, D3DXVECTOR3 newPosition, D3DXVECTOR3 newRotation) {
    // The view volume is width/height wide and 1 high at the near plane.
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    D3DXMatrixPerspectiveLH(&projection, aspect, 1.0f, 1.0f, 10000.0f);
    position = newPosition;
    rotation = newRotation;
    BuildView();
}

void Camera::SetPosition(D3DXVECTOR3 newPosition) {
    position = newPosition;
}

void Camera::SetRotation(D3DXVECTOR3 newRotation) {
    rotation = newRotation;
}

void Camera::BuildView() {
    D3DXMATRIX translation;
    D3DXMatrixTranslation(&translation, -position.x, -position.y, -position.z);
    D3DXMATRIX pitch;
    D3DXMATRIX yaw;
    D3DXMATRIX roll;
    D3DXMatrixRotationX(&pitch, -rotation.x);
    D3DXMatrixRotationY(&yaw, -rotation.y);
    D3DXMatrixRotationZ(&roll, -rotation.z);
    D3DXMATRIX turn;
    D3DXMatrixMultiply(&turn, &pitch, &yaw);
    D3DXMatrixMultiply(&turn, &turn, &roll);
    D3DXMatrixMultiply(&view, &translation, &turn);
}

HRESULT Camera::Apply(IDirect3DDevice8* device) {
    lastResult = device->SetTransform(D3DTS_VIEW, &view);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTransform(D3DTS_PROJECTION, &projection);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}
