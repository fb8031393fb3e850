// The player: arrow keys (or a game pad) to speed and heading, a steady current toward +x, the
// water surface as the only height, and an invisible collision model ("data/levelboundings.ms3d")
// that refuses any move onto land. Owns the input devices, the pad and the collision triangles.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_math.h"
#include "input/game_pad_controls.h"
#include "input/input_devices.h"

class InputSystem {
public:
    InputSystem();
    ~InputSystem();
    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    // Loads the collision triangles, opens the devices for `window` and the pad, and puts the
    // player at the start. E_FAIL when the collision model cannot be read.
    HRESULT Init(HWND window);
    // One frame: reads the devices and the pad, then speeds, turns and moves the player. A failed
    // keyboard read moves nothing and is returned.
    HRESULT Update();
    // Position, heading in degrees, and the held bits (0x80 or 0) of up, left and right.
    void GetState(D3DXVECTOR3* position, float* yaw, int* forward, int* left, int* right) const;
    // Closes the devices and the pad and drops the triangles; the player state is kept. Always
    // S_OK.
    HRESULT Release();

private:
    InputDevices devices;
    GamePadControls pad;
    D3DXVECTOR3* boundsCorner0;
    D3DXVECTOR3* boundsCorner1;
    D3DXVECTOR3* boundsCorner2;
    int32_t boundsTriangleCount;
    D3DXVECTOR3 position;
    D3DXVECTOR3 previousPosition;
    float yaw;
    int32_t forwardKey;
    int32_t leftKey;
    int32_t rightKey;
    float cosTable[360];
    float sinTable[360];
    float speed;
    HRESULT lastResult;
};
