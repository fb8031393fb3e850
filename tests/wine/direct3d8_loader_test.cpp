#include <gtest/gtest.h>

#include "platform/direct3d8.h"

namespace {

TEST(Direct3D8LoaderTest, CreatesWorkingObjectsFromTheSystemLibrary) {
    IDirect3D8* first = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(first, nullptr);
    D3DDISPLAYMODE mode = {};
    EXPECT_EQ(first->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);

    // The library stays loaded after its first object is gone.
    EXPECT_EQ(first->Release(), 0u);
    IDirect3D8* second = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Release(), 0u);
}

}  // namespace
