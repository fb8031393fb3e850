#include "tools/capture/shot_taking_direct3d.h"

#include <new>

#include "platform/windows/direct3d8_loader.h"
#include "tools/capture/shot_taking_device.h"

extern "C" IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    IDirect3D8* system = SystemDirect3DCreate8(sdkVersion);
    if (system == nullptr) {
        return nullptr;
    }
    ShotTakingDirect3D* wrapped = new (std::nothrow) ShotTakingDirect3D(system);
    if (wrapped == nullptr) {
        system->Release();
    }
    return wrapped;
}

ShotTakingDirect3D::ShotTakingDirect3D(IDirect3D8* system) : direct3d(system), references(1) {}

ShotTakingDirect3D::~ShotTakingDirect3D() {
    direct3d->Release();
}

// The system object's own interfaces come back as this one, so that nobody gets past the wrapper.
HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::QueryInterface(REFIID riid, void** object) {
    const HRESULT result = direct3d->QueryInterface(riid, object);
    if (SUCCEEDED(result) && *object == direct3d) {
        direct3d->Release();
        AddRef();
        *object = static_cast<IDirect3D8*>(this);
    }
    return result;
}

ULONG STDMETHODCALLTYPE ShotTakingDirect3D::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE ShotTakingDirect3D::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::CreateDevice(
    UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
    D3DPRESENT_PARAMETERS* presentationParameters, struct IDirect3DDevice8** created) {
    if (created == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DDevice8* system = nullptr;
    const HRESULT result = direct3d->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags,
                                                  presentationParameters, &system);
    if (FAILED(result)) {
        *created = nullptr;
        return result;
    }
    ShotTakingDevice* wrapped = new (std::nothrow) ShotTakingDevice(system, this);
    if (wrapped == nullptr) {
        system->Release();
        *created = nullptr;
        return E_OUTOFMEMORY;
    }
    *created = wrapped;
    return result;
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::RegisterSoftwareDevice(void* initializeFunction) {
    return direct3d->RegisterSoftwareDevice(initializeFunction);
}

UINT STDMETHODCALLTYPE ShotTakingDirect3D::GetAdapterCount() {
    return direct3d->GetAdapterCount();
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::GetAdapterIdentifier(
    UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier) {
    return direct3d->GetAdapterIdentifier(adapter, flags, identifier);
}

UINT STDMETHODCALLTYPE ShotTakingDirect3D::GetAdapterModeCount(UINT adapter) {
    return direct3d->GetAdapterModeCount(adapter);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::EnumAdapterModes(UINT adapter, UINT modeIndex,
                                                               D3DDISPLAYMODE* mode) {
    return direct3d->EnumAdapterModes(adapter, modeIndex, mode);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::GetAdapterDisplayMode(UINT adapter,
                                                                    D3DDISPLAYMODE* mode) {
    return direct3d->GetAdapterDisplayMode(adapter, mode);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE checkType,
                                                              D3DFORMAT displayFormat,
                                                              D3DFORMAT backBufferFormat,
                                                              WINBOOL windowed) {
    return direct3d->CheckDeviceType(adapter, checkType, displayFormat, backBufferFormat, windowed);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                                D3DFORMAT adapterFormat,
                                                                DWORD usage,
                                                                D3DRESOURCETYPE resourceType,
                                                                D3DFORMAT checkFormat) {
    return direct3d->CheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType,
                                       checkFormat);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::CheckDeviceMultiSampleType(
    UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat, WINBOOL windowed,
    D3DMULTISAMPLE_TYPE multiSampleType) {
    return direct3d->CheckDeviceMultiSampleType(adapter, deviceType, surfaceFormat, windowed,
                                                multiSampleType);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::CheckDepthStencilMatch(UINT adapter,
                                                                     D3DDEVTYPE deviceType,
                                                                     D3DFORMAT adapterFormat,
                                                                     D3DFORMAT renderTargetFormat,
                                                                     D3DFORMAT depthStencilFormat) {
    return direct3d->CheckDepthStencilMatch(adapter, deviceType, adapterFormat, renderTargetFormat,
                                            depthStencilFormat);
}

HRESULT STDMETHODCALLTYPE ShotTakingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                            D3DCAPS8* caps) {
    return direct3d->GetDeviceCaps(adapter, deviceType, caps);
}

HMONITOR STDMETHODCALLTYPE ShotTakingDirect3D::GetAdapterMonitor(UINT adapter) {
    return direct3d->GetAdapterMonitor(adapter);
}
