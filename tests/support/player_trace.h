// The per-frame CSV trace the steering checks read, written by the traced builds of the game on
// Linux and under Wine alike: the player's state and where the camera sits.
#pragma once

#include <cstdio>

#include "app/game_app.h"

inline void WritePlayerTraceHeader(std::FILE* trace) {
    std::fprintf(trace, "frame,x,y,z,yaw,camera_x,camera_y,camera_z,camera_yaw\n");
    std::fflush(trace);
}

inline void WritePlayerTraceRow(std::FILE* trace, GameApp& game, int frame) {
    D3DXVECTOR3 position;
    float yaw = 0.0f;
    int forward = 0;
    int left = 0;
    int right = 0;
    game.GetInput().GetState(&position, &yaw, &forward, &left, &right);
    const D3DXVECTOR3 camera = game.GetCamera().GetPosition();
    std::fprintf(trace, "%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.5f\n", frame, position.x,
                 position.y, position.z, yaw, camera.x, camera.y, camera.z,
                 game.GetCamera().GetRotation().y);
    std::fflush(trace);
}
