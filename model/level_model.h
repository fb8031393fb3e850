// The drawable level: one LevelGroup per group of the level's model file, each culled against the
// view frustum and drawn with one call. Loading turns the file into vertex buffers, textures and
// bounds once, so that a frame only tests bounds and draws.
#pragma once

#include <cstdint>

#include "model/frustum.h"
#include "model/level_group.h"
#include "platform/direct3d8.h"

struct Ms3dModel;

class LevelModel {
public:
    LevelModel();
    ~LevelModel();
    LevelModel(const LevelModel&) = delete;
    LevelModel& operator=(const LevelModel&) = delete;

    HRESULT Load(const char* fileName, const char* directory, IDirect3DDevice8* device);
    HRESULT Draw(const Frustum& frustum, bool boxTest, bool sphereTest, IDirect3DDevice8* device);
    HRESULT Release();

    int32_t GroupCount() const { return groupCount; }
    const LevelGroup& Group(int32_t index) const { return groups[index]; }

private:
    HRESULT LoadGroup(const Ms3dModel& model, int32_t index, const char* directory,
                      IDirect3DDevice8* device);

    LevelGroup* groups;
    int32_t groupCount;
    HRESULT lastResult;
};
