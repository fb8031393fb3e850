// A fixed-size emitter of flat particles: each particle is one textured, vertex-coloured triangle
// in the x-y plane, born at random around an origin, falling under its own gravity, drifting with
// a common wind and ramping from a start to an end colour. Every update rewrites one dynamic
// vertex buffer that one draw call covers. Callers set the texture and every render state.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

struct ParticleSystemSettings {
    D3DXVECTOR3 origin;
    D3DXVECTOR3 originSpread;
    D3DXVECTOR3 velocity;
    D3DXVECTOR3 velocitySpread;
    float gravity;
    float gravitySpread;
    int32_t life;
    int32_t lifeSpread;
    D3DXCOLOR startColor;
    D3DXCOLOR endColor;
    int32_t count;
    D3DXVECTOR3 drift;
    float halfWidth;
    float halfHeight;
    uint8_t respawn;  // 1: dead particles are born again
};

struct Particle {
    D3DXVECTOR3 position;
    D3DXVECTOR3 velocity;
    int32_t life;
    D3DCOLOR color;
    float gravity;
    uint8_t alive;
};

class ParticleSystem {
public:
    ParticleSystem();
    virtual ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    virtual HRESULT Create(ParticleSystemSettings settings, IDirect3DDevice8* device);
    virtual HRESULT Update();
    virtual HRESULT Release();
    virtual HRESULT Render(IDirect3DDevice8* device, D3DXMATRIX world);
    // Writes the buffer from the particles as they stand, moving none: the second half of
    // Update, for drawing an emitter before its first step.
    HRESULT WriteVertices();

    // Around a device reset, which needs D3DPOOL_DEFAULT empty: the buffer goes and comes back,
    // the particles carry on where they were. Update writes the new buffer whole before any
    // Render draws it. Restoring an emitter that was never created does nothing.
    void ReleaseDefaultPool();
    HRESULT RestoreDefaultPool(IDirect3DDevice8* device);

    const ParticleSystemSettings& Settings() const { return settings; }
    // The particles (null before Create); tests and tools read them.
    const Particle* Particles() const { return particles; }

private:
    void EmitParticle(Particle* p);
    D3DCOLOR RampColor(int32_t life) const;
    HRESULT CreateVertexBuffer(IDirect3DDevice8* device);

    ParticleSystemSettings settings;
    IDirect3DVertexBuffer8* vertexBuffer;
    Particle* particles;
    HRESULT lastResult;
};
