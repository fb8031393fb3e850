#include "platform/gl/gl_resource.h"

#include "platform/gl/gl_device.h"
#include "platform/gl/live_objects.h"

GlResource::GlResource(GlDevice* owner) : device(owner), outsideReferences(1), bindings(0) {
    device->AddRef();
    CountGlObjectCreated();
}

GlResource::~GlResource() {
    CountGlObjectDestroyed();
}

void GlResource::Unbind() {
    if (--bindings == 0 && outsideReferences == 0) {
        delete this;
    }
}

ULONG GlResource::AddOutsideReference() {
    if (outsideReferences++ == 0) {
        // Only bindings held it: it has an outside user again, who keeps the device alive.
        device->AddRef();
    }
    return outsideReferences;
}

ULONG GlResource::ReleaseOutsideReference() {
    if (outsideReferences == 0) {
        return 0;  // an unbalanced Release: ignored rather than freeing twice
    }
    const ULONG remaining = --outsideReferences;
    if (remaining == 0) {
        GlDevice* owner = device;
        if (bindings == 0) {
            delete this;
        }
        // The last reference on the device may be this one; its teardown drops the bindings,
        // which deletes a resource still bound.
        owner->Release();
    }
    return remaining;
}

HRESULT GlResource::GetOwningDevice(IDirect3DDevice8** out) {
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    device->AddRef();
    *out = device;
    return D3D_OK;
}
