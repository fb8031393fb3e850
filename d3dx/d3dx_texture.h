// Texture loading under the Direct3D extension library's names: an image file becomes a
// mip-mapped texture, either at its own size or resampled with a colour key. Our own code on every
// platform, built only on device operations (CreateTexture, GetDeviceCaps, CheckDeviceFormat and
// the texture's LockRect/UnlockRect), so it serves the OpenGL layer and real Direct3D 8 alike.
#pragma once

#include "platform/direct3d8.h"

#define D3DX_DEFAULT ((UINT)-1)

#define D3DX_FILTER_NONE (1u << 0)
#define D3DX_FILTER_POINT (2u << 0)
#define D3DX_FILTER_LINEAR (3u << 0)
#define D3DX_FILTER_TRIANGLE (4u << 0)
#define D3DX_FILTER_BOX (5u << 0)
#define D3DX_FILTER_MIRROR_U (1u << 16)
#define D3DX_FILTER_MIRROR_V (2u << 16)
#define D3DX_FILTER_MIRROR_W (4u << 16)
#define D3DX_FILTER_MIRROR (7u << 16)
#define D3DX_FILTER_DITHER (8u << 16)

#define D3DXERR_INVALIDDATA MAKE_HRESULT(1, 0x876, 2905)

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice8* device, LPCSTR path,
                                   IDirect3DTexture8** texture);

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, LPCSTR path, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                     DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                     IDirect3DTexture8** texture);
