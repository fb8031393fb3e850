#include "d3dx/d3dx_texture.h"

#include <new>
#include <utility>
#include <vector>

#include "d3dx/content_failure.h"
#include "d3dx/content_file.h"
#include "d3dx/image/image_decoder.h"
#include "d3dx/image/texture_level.h"
#include "d3dx/texture_fitting.h"

namespace {

// Images wider or taller than this are refused before they are decoded, whatever the device
// takes: a guard against a hostile header. Anything smaller that the device cannot take at its
// own size is scaled down to fit.
const ImageLimits kImageLimits{16384, 16384};

const DWORD kFilterTypeMask = 0xFFFF;
const DWORD kFilterFlags = D3DX_FILTER_MIRROR | D3DX_FILTER_DITHER;

bool FilterIsValid(DWORD filter) {
    if (filter == D3DX_DEFAULT) {
        return true;
    }
    const DWORD type = filter & kFilterTypeMask;
    return type >= D3DX_FILTER_NONE && type <= D3DX_FILTER_BOX &&
           (filter & ~(kFilterTypeMask | kFilterFlags)) == 0;
}

// Holds a created texture until the load hands it over; releases it on every other way out.
class CreatedTexture {
public:
    CreatedTexture() = default;
    CreatedTexture(const CreatedTexture&) = delete;
    CreatedTexture& operator=(const CreatedTexture&) = delete;
    ~CreatedTexture() {
        if (texture != nullptr) {
            texture->Release();
        }
    }
    IDirect3DTexture8** Out() { return &texture; }
    IDirect3DTexture8* Get() const { return texture; }
    IDirect3DTexture8* Detach() { return std::exchange(texture, nullptr); }

private:
    IDirect3DTexture8* texture = nullptr;
};

HRESULT WriteLevel(IDirect3DTexture8* texture, UINT level, const TextureLevel& data) {
    D3DLOCKED_RECT locked{};
    const HRESULT result = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(result)) {
        return result;
    }
    if (locked.pBits == nullptr || locked.Pitch < 0 ||
        static_cast<size_t>(locked.Pitch) < data.RowBytes()) {
        texture->UnlockRect(level);
        return D3DERR_INVALIDCALL;
    }
    data.Store(static_cast<uint8_t*>(locked.pBits), static_cast<size_t>(locked.Pitch));
    return texture->UnlockRect(level);
}

// Level 0 from the image, every further level from the one above it, each written as soon as
// it is made. Level sizes and the format come from the texture itself.
HRESULT FillLevels(IDirect3DTexture8* texture, const DecodedImage& image, ResampleFilter filter,
                   bool dither) {
    const DWORD levelCount = texture->GetLevelCount();
    TextureLevel current;
    TextureLevel next;
    for (DWORD level = 0; level < levelCount; ++level) {
        D3DSURFACE_DESC desc{};
        HRESULT result = texture->GetLevelDesc(level, &desc);
        if (FAILED(result)) {
            return result;
        }
        const TexelLayout* layout = FindTexelLayout(desc.Format);
        if (layout == nullptr) {
            return D3DERR_WRONGTEXTUREFORMAT;
        }
        if (level == 0) {
            result =
                current.BuildFromImage(image, desc.Width, desc.Height, *layout, filter, dither);
        } else {
            result = next.BuildHalf(current, desc.Width, desc.Height);
            std::swap(current, next);
        }
        if (SUCCEEDED(result)) {
            result = WriteLevel(texture, level, current);
        }
        if (FAILED(result)) {
            return result;
        }
    }
    return S_OK;
}

HRESULT LoadTexture(IDirect3DDevice8* device, LPCSTR path, UINT width, UINT height, UINT mipLevels,
                    DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, D3DCOLOR colorKey,
                    D3DXIMAGE_INFO* srcInfo, IDirect3DTexture8** texture) {
    std::vector<uint8_t> bytes;
    if (!ReadContentFile(path, &bytes)) {
        return D3DXERR_INVALIDDATA;
    }
    D3DCAPS8 caps{};
    HRESULT result = device->GetDeviceCaps(&caps);
    if (FAILED(result)) {
        return result;
    }
    DecodedImage image;
    result = DecodeImage(bytes.data(), bytes.size(), kImageLimits, &image);
    if (FAILED(result)) {
        NoteContentFailure(ContentFailureKind::kCannotDecode, path);
        return result;
    }
    std::vector<uint8_t>().swap(bytes);

    // The key is applied before anything else touches the pixels, so a keyed texel never mixes
    // with its neighbours' colours under a tolerance.
    image.ApplyColorKey(colorKey);
    const TextureShape shape =
        FitTextureShape(caps, image.width, image.height, width, height, mipLevels);
    D3DFORMAT chosen = D3DFMT_UNKNOWN;
    result = ChooseTextureFormat(
        device, usage, format != D3DFMT_UNKNOWN ? format : PreferredTextureFormat(image, colorKey),
        &chosen);
    if (FAILED(result)) {
        return result;
    }

    CreatedTexture created;
    result = device->CreateTexture(shape.width, shape.height, shape.levels, usage, chosen, pool,
                                   created.Out());
    if (FAILED(result)) {
        return result;
    }
    if (created.Get() == nullptr) {
        return E_FAIL;
    }
    const DWORD filterType = filter == D3DX_DEFAULT ? D3DX_FILTER_TRIANGLE : filter & 0xFFFF;
    const ResampleFilter resample =
        (filterType == D3DX_FILTER_NONE || filterType == D3DX_FILTER_POINT) ? ResampleFilter::kPoint
                                                                            : ResampleFilter::kTent;
    const bool dither = filter == D3DX_DEFAULT || (filter & D3DX_FILTER_DITHER) != 0;
    result = FillLevels(created.Get(), image, resample, dither);
    if (FAILED(result)) {
        return result;
    }
    if (srcInfo != nullptr) {
        *srcInfo = D3DXIMAGE_INFO{image.width,      image.height,    1, 1, image.format,
                                  D3DRTYPE_TEXTURE, image.fileFormat};
    }
    *texture = created.Detach();
    return S_OK;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice8* device, LPCSTR path,
                                   IDirect3DTexture8** texture) {
    return D3DXCreateTextureFromFileExA(device, path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                        0, nullptr, nullptr, texture);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, LPCSTR path, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                     DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                     D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                     IDirect3DTexture8** texture) {
    // Textures are never palettised here, so there is no palette to report; the mip levels are
    // always made with the 2 x 2 box, which is what every valid mip filter asks of a halving.
    (void)palette;
    if (device == nullptr || path == nullptr || texture == nullptr || !FilterIsValid(filter) ||
        !FilterIsValid(mipFilter)) {
        return D3DERR_INVALIDCALL;
    }
    try {
        return LoadTexture(device, path, width, height, mipLevels, usage, format, pool, filter,
                           colorKey, srcInfo, texture);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
