// What every resource of the OpenGL layer shares: two reference counts. Outside references
// (AddRef/Release, and the one creation hands out) keep the device alive, as Direct3D resources
// do, so no resource can outlive the context its OpenGL objects live in. Bindings (SetTexture,
// SetStreamSource) are the device's own and leave the outside count alone, as on Direct3D 8; the
// device drops them when it rebinds or goes. The object is deleted when both counts reach zero.
#pragma once

#include "platform/direct3d8.h"

class GlDevice;

class GlResource {
public:
    GlResource(const GlResource&) = delete;
    GlResource& operator=(const GlResource&) = delete;

    GlDevice* Device() const { return device; }

    // The device's bindings; Unbind may delete the resource.
    void Bind() { ++bindings; }
    void Unbind();

protected:
    // Starts with one outside reference and takes one on the device.
    explicit GlResource(GlDevice* owner);
    virtual ~GlResource();

    ULONG AddOutsideReference();
    // May delete the resource and release the device; nothing may touch the object afterwards.
    ULONG ReleaseOutsideReference();
    HRESULT GetOwningDevice(IDirect3DDevice8** out);

private:
    GlDevice* device;
    ULONG outsideReferences;
    ULONG bindings;
};
