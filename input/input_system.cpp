#include "input/input_system.h"

#include <cmath>
#include <cstring>

#include "d3dx/sine_cosine.h"
#include "model/ms3d_model.h"

namespace {

const char kBoundsModelPath[] = "data/levelboundings.ms3d";

const float kWaterHeight = -2.0f;
const D3DXVECTOR3 kStartPosition(-3.0f, kWaterHeight, -10.0f);

const float kAcceleration = 0.02f;
const float kMaxSpeed = 0.5f;
// Degrees per frame at full speed; less while slower, nothing at rest.
const float kTurnRate = 3.0f;
// The current that carries the player toward +x every frame, even at rest.
const float kDrift = 0.1f;

// The probe starts this far above the old height and casts straight down: surfaces higher than
// that are behind it and never block.
const float kProbeHeight = 1000.0f;
// The distance reported when the ray hits nothing: well below any blocking surface.
const float kNoHit = 2000.0f;
// A move is refused when the surface below lies no more than this far under the old height.
const float kBlockingDrop = -2.0f;

const double kPi = 3.141592653589793;

}  // namespace

InputSystem::InputSystem()
    : boundsCorner0(nullptr),
      boundsCorner1(nullptr),
      boundsCorner2(nullptr),
      boundsTriangleCount(0),
      position(0.0f, 0.0f, 0.0f),
      previousPosition(0.0f, 0.0f, 0.0f),
      yaw(0.0f),
      forwardKey(0),
      leftKey(0),
      rightKey(0),
      cosTable{},
      sinTable{},
      speed(0.0f),
      lastResult(S_OK) {}

InputSystem::~InputSystem() {
    Release();
}

HRESULT InputSystem::Init(HWND window) {
    Release();

    Ms3dModel* model = LoadMs3dModel(kBoundsModelPath);
    if (model == nullptr) {
        return E_FAIL;
    }
    // Only the first group collides; a model without groups has nothing to collide with.
    boundsTriangleCount = model->numGroups > 0 ? model->groups[0].numTriangles : 0;
    boundsCorner0 = new D3DXVECTOR3[boundsTriangleCount];
    boundsCorner1 = new D3DXVECTOR3[boundsTriangleCount];
    boundsCorner2 = new D3DXVECTOR3[boundsTriangleCount];
    for (int32_t i = 0; i < boundsTriangleCount; ++i) {
        const Ms3dTriangle& triangle = model->triangles[model->groups[0].triangleIndices[i]];
        boundsCorner0[i] = model->vertices[triangle.vertexIndices[0]].position;
        boundsCorner1[i] = model->vertices[triangle.vertexIndices[1]].position;
        boundsCorner2[i] = model->vertices[triangle.vertexIndices[2]].position;
    }
    delete model;

    lastResult = devices.Create(window);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    pad.Open();

    yaw = 0.0f;
    position = kStartPosition;
    speed = 0.0f;
    for (int degree = 0; degree < 360; ++degree) {
        const double radians = degree / 180.0 * kPi;
        sinTable[degree] = static_cast<float>(Sine(radians));
        cosTable[degree] = static_cast<float>(Cosine(radians));
    }
    return S_OK;
}

HRESULT InputSystem::Update() {
    previousPosition = position;

    BYTE keys[256];
    DIMOUSESTATE mouse;
    lastResult = devices.Read(keys, &mouse);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    pad.AddHeldKeys(keys);

    const int32_t up = keys[DIK_UP] & 0x80;
    const int32_t left = keys[DIK_LEFT] & 0x80;
    const int32_t right = keys[DIK_RIGHT] & 0x80;
    if ((keys[DIK_ESCAPE] & 0x80) != 0) {
        // The frame still runs to its end; the loop stops when it takes the message.
        PostQuitMessage(0);
    }
    forwardKey = up;
    leftKey = left;
    rightKey = right;

    speed += up != 0 ? kAcceleration : -kAcceleration;
    if (speed > kMaxSpeed) {
        speed = kMaxSpeed;
    }
    if (speed < 0.0f) {
        speed = 0.0f;
    }

    const float turn = speed / kMaxSpeed;
    if (left != 0) {
        yaw -= kTurnRate * turn;
    }
    if (right != 0) {
        yaw += kTurnRate * turn;
    }
    // Clamped to the bound crossed rather than wrapped by a full turn.
    if (yaw < 0.0f) {
        yaw = 360.0f;
    }
    if (yaw > 360.0f) {
        yaw = 0.0f;
    }

    // Movement steers by whole degrees; 360 is 0.
    int degree = static_cast<int>(yaw);
    if (degree >= 360) {
        degree = 0;
    }
    const D3DXVECTOR3 step =
        D3DXVECTOR3(speed * sinTable[degree], kProbeHeight, speed * cosTable[degree]) +
        D3DXVECTOR3(kDrift, 0.0f, 0.0f);
    position += step;

    // One ray straight down from the probe. Every hit overwrites the distance, so the last
    // triangle in the list that lies under the probe decides, not the nearest.
    const D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
    float dist = kNoHit;
    for (int32_t i = 0; i < boundsTriangleCount; ++i) {
        float u = 0.0f;
        float v = 0.0f;
        D3DXIntersectTri(&boundsCorner0[i], &boundsCorner1[i], &boundsCorner2[i], &position, &down,
                         &u, &v, &dist);
    }
    const float surfaceHeight = kProbeHeight - dist;
    if (surfaceHeight < kBlockingDrop) {
        position.y = kWaterHeight;
    } else {
        position = previousPosition;
    }
    return S_OK;
}

void InputSystem::GetState(D3DXVECTOR3* outPosition, float* outYaw, int* forward, int* left,
                           int* right) const {
    *outPosition = position;
    *outYaw = yaw;
    *forward = forwardKey;
    *left = leftKey;
    *right = rightKey;
}

HRESULT InputSystem::Release() {
    devices.Release();
    pad.Close();
    delete[] boundsCorner0;
    boundsCorner0 = nullptr;
    delete[] boundsCorner1;
    boundsCorner1 = nullptr;
    delete[] boundsCorner2;
    boundsCorner2 = nullptr;
    return S_OK;
}
