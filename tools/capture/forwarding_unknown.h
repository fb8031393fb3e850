// The COM part of the capture tools' forwarding wrappers, for the Direct3D 8 object and device
// alike: the wrapper's own reference count, the inner object's reference held until the last
// release, and QueryInterface handing back the wrapper wherever the inner object would hand back
// itself, so that nobody gets past the wrapper.
#pragma once

#include "platform/direct3d8.h"

template <typename Interface>
class ForwardingUnknown : public Interface {
public:
    // Takes over the caller's reference on `inner`; holds one on `owner` (the object that made
    // the wrapper, or null), given up after the one on `inner`.
    explicit ForwardingUnknown(Interface* inner, IUnknown* owner = nullptr)
        : inner_(inner), owner_(owner) {
        if (owner_ != nullptr) {
            owner_->AddRef();
        }
    }
    ForwardingUnknown(const ForwardingUnknown&) = delete;
    ForwardingUnknown& operator=(const ForwardingUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        const HRESULT result = inner_->QueryInterface(riid, object);
        if (SUCCEEDED(result) && *object == inner_) {
            inner_->Release();
            AddRef();
            *object = static_cast<Interface*>(this);
        }
        return result;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG remaining = --references_;
        if (remaining == 0) {
            delete this;
        }
        return remaining;
    }

protected:
    // Released through Release only.
    virtual ~ForwardingUnknown() {
        inner_->Release();
        if (owner_ != nullptr) {
            owner_->Release();
        }
    }

    Interface* Inner() const { return inner_; }

private:
    Interface* inner_;
    IUnknown* owner_;
    ULONG references_ = 1;
};
