#include "particles/particle_system.h"

#include <cmath>
#include <cstring>
#include <new>

#include "particles/random_sequence.h"
#include "render/color_vertex.h"
#include "render/release_and_clear.h"

namespace {

const UINT kVerticesPerParticle = 3;
const UINT kBytesPerParticle = kVerticesPerParticle * sizeof(ColorVertex);

// Truncates toward zero and keeps the low byte, as the colour ramp packs its channels: values
// outside 0..1 wrap instead of clamping. Values no integer can hold count as 0.
DWORD TruncatedChannel(float value) {
    const float scaled = std::trunc(value * 255.0f);
    if (!(std::fabs(scaled) < 9.0e18f)) {
        return 0;
    }
    return static_cast<DWORD>(static_cast<int64_t>(scaled)) & 0xFFu;
}

}  // namespace

ParticleSystem::ParticleSystem()
    : settings{}, vertexBuffer(nullptr), particles(nullptr), lastResult(S_OK) {}

ParticleSystem::~ParticleSystem() {
    Release();
}

HRESULT ParticleSystem::Create(ParticleSystemSettings newSettings, IDirect3DDevice8* device) {
    // A second Create replaces the first rather than leaking its buffer.
    Release();
    settings = newSettings;
    if (settings.count <= 0) {
        lastResult = E_INVALIDARG;
        return lastResult;
    }
    particles = new (std::nothrow) Particle[settings.count];
    if (particles == nullptr) {
        lastResult = E_OUTOFMEMORY;
        return lastResult;
    }
    if (FAILED(CreateVertexBuffer(device))) {
        return lastResult;
    }
    for (int32_t i = 0; i < settings.count; ++i) {
        EmitParticle(&particles[i]);
    }
    return S_OK;
}

HRESULT ParticleSystem::CreateVertexBuffer(IDirect3DDevice8* device) {
    lastResult = device->CreateVertexBuffer(static_cast<UINT>(settings.count) * kBytesPerParticle,
                                            D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kColorVertexFvf,
                                            D3DPOOL_DEFAULT, &vertexBuffer);
    return lastResult;
}

void ParticleSystem::ReleaseDefaultPool() {
    ReleaseAndClear(vertexBuffer);
}

HRESULT ParticleSystem::RestoreDefaultPool(IDirect3DDevice8* device) {
    ReleaseDefaultPool();
    if (particles == nullptr) {
        return S_OK;
    }
    if (FAILED(CreateVertexBuffer(device))) {
        return lastResult;
    }
    return S_OK;
}

void ParticleSystem::EmitParticle(Particle* p) {
    RandomSequence& random = RandomSequence::Shared();
    const float vx = random.Range(settings.velocity.x - settings.velocitySpread.x,
                                  settings.velocity.x + settings.velocitySpread.x);
    const float vy = random.Range(settings.velocity.y - settings.velocitySpread.y,
                                  settings.velocity.y + settings.velocitySpread.y);
    const float vz = random.Range(settings.velocity.z - settings.velocitySpread.z,
                                  settings.velocity.z + settings.velocitySpread.z);
    const float lifeValue = random.Range(static_cast<float>(settings.life - settings.lifeSpread),
                                         static_cast<float>(settings.life + settings.lifeSpread));
    const float g = random.Range(settings.gravity - settings.gravitySpread,
                                 settings.gravity + settings.gravitySpread);
    const float px = random.Range(settings.origin.x - settings.originSpread.x,
                                  settings.origin.x + settings.originSpread.x);
    const float py = random.Range(settings.origin.y - settings.originSpread.y,
                                  settings.origin.y + settings.originSpread.y);
    const float pz = random.Range(settings.origin.z - settings.originSpread.z,
                                  settings.origin.z + settings.originSpread.z);
    p->position = D3DXVECTOR3(px, py, pz);
    p->velocity = D3DXVECTOR3(vx, vy, vz);
    p->life = static_cast<int32_t>(lifeValue);
    p->gravity = g;
    p->color = static_cast<D3DCOLOR>(settings.startColor);  // rounded and clamped at birth
    p->alive = 1;
}

D3DCOLOR ParticleSystem::RampColor(int32_t particleLife) const {
    // How far along the ramp from the start colour; no upper clamp, so old particles overshoot.
    float t = settings.life != 0 ? static_cast<float>(settings.life - particleLife) /
                                       static_cast<float>(settings.life)
                                 : 0.0f;
    if (t < 0.0f) {
        t = 0.0f;
    }
    const D3DXCOLOR c = settings.startColor + (settings.endColor - settings.startColor) * t;
    return (TruncatedChannel(c.a) << 24) | (TruncatedChannel(c.r) << 16) |
           (TruncatedChannel(c.g) << 8) | TruncatedChannel(c.b);
}

HRESULT ParticleSystem::Update() {
    if (vertexBuffer == nullptr || particles == nullptr) {
        return E_FAIL;
    }
    for (int32_t i = 0; i < settings.count; ++i) {
        Particle& p = particles[i];
        if (p.alive == 0 && settings.respawn == 1) {
            EmitParticle(&p);
            continue;
        }
        p.position += p.velocity;
        p.velocity.y -= p.gravity;
        p.position += settings.drift;
        p.life -= 1;
        if (p.life < 0) {
            p.alive = 0;
        }
        p.color = RampColor(p.life);
    }
    return WriteVertices();
}

HRESULT ParticleSystem::WriteVertices() {
    if (vertexBuffer == nullptr || particles == nullptr) {
        return E_FAIL;
    }
    BYTE* data = nullptr;
    lastResult = vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    ColorVertex* vertex = reinterpret_cast<ColorVertex*>(data);
    for (int32_t i = 0; i < settings.count; ++i, vertex += kVerticesPerParticle) {
        const Particle& p = particles[i];
        if (p.alive == 0) {
            // A degenerate triangle at the origin keeps the slot and draws nothing.
            std::memset(vertex, 0, kBytesPerParticle);
            continue;
        }
        const float left = p.position.x - settings.halfWidth;
        const float right = p.position.x + settings.halfWidth;
        const float bottom = p.position.y - settings.halfHeight;
        const float top = p.position.y + settings.halfHeight;
        const float z = p.position.z;
        vertex[0] = ColorVertex{left, bottom, z, 0, 0, -1, p.color, 0, 0};
        vertex[1] = ColorVertex{right, bottom, z, 0, 0, -1, p.color, 1, 0};
        vertex[2] = ColorVertex{right, top, z, 0, 0, -1, p.color, 1, 1};
    }
    lastResult = vertexBuffer->Unlock();
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT ParticleSystem::Render(IDirect3DDevice8* device, D3DXMATRIX world) {
    if (vertexBuffer == nullptr || particles == nullptr) {
        return E_FAIL;
    }
    lastResult = device->SetTransform(D3DTS_WORLD, &world);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = BindColorVertices(device, vertexBuffer);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(settings.count));
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT ParticleSystem::Release() {
    ReleaseAndClear(vertexBuffer);
    if (particles != nullptr) {
        delete[] particles;
        particles = nullptr;
    }
    return S_OK;
}
