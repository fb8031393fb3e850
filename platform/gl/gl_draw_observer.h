// Told of a GlDevice's clears, draws and presents as they are made, for tools that measure where
// a frame's time goes. The game never installs one.
#pragma once

#include "platform/direct3d8.h"

class GlDrawObserver {
public:
    virtual ~GlDrawObserver() = default;

    virtual void BeforeClear() = 0;
    // A draw that will be made: its vertex format, primitive type and count.
    virtual void BeforeDraw(DWORD fvf, D3DPRIMITIVETYPE type, UINT primitiveCount) = 0;
    virtual void BeforePresent() = 0;
    // Once the present has returned.
    virtual void AfterPresent() = 0;
};
