// Gives up the reference a member holds on a Direct3D or DirectInput object and forgets it, so a
// second release (or a release of something never made) does nothing.
#pragma once

template <typename Interface>
void ReleaseAndClear(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}
