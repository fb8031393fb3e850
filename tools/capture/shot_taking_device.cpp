#include "tools/capture/shot_taking_device.h"

#include <chrono>
#include <utility>

ShotTakingDevice::ShotTakingDevice(IDirect3DDevice8* system, IDirect3D8* parentObject)
    : device(system),
      parent(parentObject),
      references(1),
      shotRequested(false),
      shotReady(false),
      shotWidth(0),
      shotHeight(0),
      shotMilliseconds(0.0) {
    parent->AddRef();
}

ShotTakingDevice::~ShotTakingDevice() {
    device->Release();
    parent->Release();
}

bool ShotTakingDevice::TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) {
    if (!shotReady) {
        return false;
    }
    shotReady = false;
    *rgba = std::move(shot);
    shot.clear();
    *width = shotWidth;
    *height = shotHeight;
    return true;
}

bool ShotTakingDevice::ReadBackBuffer() {
    IDirect3DSurface8* surface = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface))) {
        return false;
    }
    D3DSURFACE_DESC description = {};
    D3DLOCKED_RECT locked = {};
    bool read = false;
    if (SUCCEEDED(surface->GetDesc(&description)) &&
        (description.Format == D3DFMT_X8R8G8B8 || description.Format == D3DFMT_A8R8G8B8) &&
        SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        shotWidth = static_cast<int>(description.Width);
        shotHeight = static_cast<int>(description.Height);
        shot.resize(static_cast<size_t>(description.Width) * description.Height * 4);
        uint8_t* out = shot.data();
        for (UINT y = 0; y < description.Height; ++y) {
            // Each texel is B, G, R, X in memory; the presented picture is opaque.
            const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) +
                                 static_cast<ptrdiff_t>(y) * locked.Pitch;
            for (UINT x = 0; x < description.Width; ++x, out += 4) {
                out[0] = row[x * 4 + 2];
                out[1] = row[x * 4 + 1];
                out[2] = row[x * 4];
                out[3] = 0xFF;
            }
        }
        surface->UnlockRect();
        read = true;
    }
    surface->Release();
    return read;
}

// The system device's own interfaces come back as this one, so that nobody gets past the wrapper.
HRESULT STDMETHODCALLTYPE ShotTakingDevice::QueryInterface(REFIID riid, void** object) {
    const HRESULT result = device->QueryInterface(riid, object);
    if (SUCCEEDED(result) && *object == device) {
        device->Release();
        AddRef();
        *object = static_cast<IDirect3DDevice8*>(this);
    }
    return result;
}

ULONG STDMETHODCALLTYPE ShotTakingDevice::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE ShotTakingDevice::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetDirect3D(IDirect3D8** direct3d) {
    if (direct3d == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::Present(const RECT* srcRect, const RECT* dstRect,
                                                    HWND dstWindowOverride,
                                                    const RGNDATA* dirtyRegion) {
    shotMilliseconds = 0.0;
    if (shotRequested) {
        shotRequested = false;
        const auto began = std::chrono::steady_clock::now();
        shotReady = ReadBackBuffer();
        shotMilliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began)
                .count();
    }
    return device->Present(srcRect, dstRect, dstWindowOverride, dirtyRegion);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::TestCooperativeLevel() {
    return device->TestCooperativeLevel();
}

UINT STDMETHODCALLTYPE ShotTakingDevice::GetAvailableTextureMem() {
    return device->GetAvailableTextureMem();
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::ResourceManagerDiscardBytes(DWORD bytes) {
    return device->ResourceManagerDiscardBytes(bytes);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetDeviceCaps(D3DCAPS8* caps) {
    return device->GetDeviceCaps(caps);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    return device->GetDisplayMode(mode);
}

HRESULT STDMETHODCALLTYPE
ShotTakingDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    return device->GetCreationParameters(parameters);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetCursorProperties(UINT hotSpotX, UINT hotSpotY,
                                                                IDirect3DSurface8* cursorBitmap) {
    return device->SetCursorProperties(hotSpotX, hotSpotY, cursorBitmap);
}

void STDMETHODCALLTYPE ShotTakingDevice::SetCursorPosition(UINT screenX, UINT screenY,
                                                           DWORD flags) {
    device->SetCursorPosition(screenX, screenY, flags);
}

WINBOOL STDMETHODCALLTYPE ShotTakingDevice::ShowCursor(WINBOOL show) {
    return device->ShowCursor(show);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateAdditionalSwapChain(
    D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DSwapChain8** swapChain) {
    return device->CreateAdditionalSwapChain(presentationParameters, swapChain);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::Reset(D3DPRESENT_PARAMETERS* presentationParameters) {
    return device->Reset(presentationParameters);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type,
                                                          IDirect3DSurface8** backBuffer) {
    return device->GetBackBuffer(index, type, backBuffer);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetRasterStatus(D3DRASTER_STATUS* rasterStatus) {
    return device->GetRasterStatus(rasterStatus);
}

void STDMETHODCALLTYPE ShotTakingDevice::SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) {
    device->SetGammaRamp(flags, ramp);
}

void STDMETHODCALLTYPE ShotTakingDevice::GetGammaRamp(D3DGAMMARAMP* ramp) {
    device->GetGammaRamp(ramp);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateTexture(UINT width, UINT height, UINT levels,
                                                          DWORD usage, D3DFORMAT format,
                                                          D3DPOOL pool,
                                                          IDirect3DTexture8** texture) {
    return device->CreateTexture(width, height, levels, usage, format, pool, texture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateVolumeTexture(
    UINT width, UINT height, UINT depth, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
    IDirect3DVolumeTexture8** volumeTexture) {
    return device->CreateVolumeTexture(width, height, depth, levels, usage, format, pool,
                                       volumeTexture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateCubeTexture(UINT edgeLength, UINT levels,
                                                              DWORD usage, D3DFORMAT format,
                                                              D3DPOOL pool,
                                                              IDirect3DCubeTexture8** cubeTexture) {
    return device->CreateCubeTexture(edgeLength, levels, usage, format, pool, cubeTexture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateVertexBuffer(
    UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer8** vertexBuffer) {
    return device->CreateVertexBuffer(length, usage, fvf, pool, vertexBuffer);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateIndexBuffer(UINT length, DWORD usage,
                                                              D3DFORMAT format, D3DPOOL pool,
                                                              IDirect3DIndexBuffer8** indexBuffer) {
    return device->CreateIndexBuffer(length, usage, format, pool, indexBuffer);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateRenderTarget(UINT width, UINT height,
                                                               D3DFORMAT format,
                                                               D3DMULTISAMPLE_TYPE multiSample,
                                                               WINBOOL lockable,
                                                               IDirect3DSurface8** surface) {
    return device->CreateRenderTarget(width, height, format, multiSample, lockable, surface);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateDepthStencilSurface(
    UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
    IDirect3DSurface8** surface) {
    return device->CreateDepthStencilSurface(width, height, format, multiSample, surface);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateImageSurface(UINT width, UINT height,
                                                               D3DFORMAT format,
                                                               IDirect3DSurface8** surface) {
    return device->CreateImageSurface(width, height, format, surface);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CopyRects(IDirect3DSurface8* srcSurface,
                                                      const RECT* srcRects, UINT rectCount,
                                                      IDirect3DSurface8* dstSurface,
                                                      const POINT* dstPoints) {
    return device->CopyRects(srcSurface, srcRects, rectCount, dstSurface, dstPoints);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::UpdateTexture(
    IDirect3DBaseTexture8* sourceTexture, IDirect3DBaseTexture8* destinationTexture) {
    return device->UpdateTexture(sourceTexture, destinationTexture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetFrontBuffer(IDirect3DSurface8* destSurface) {
    return device->GetFrontBuffer(destSurface);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetRenderTarget(IDirect3DSurface8* renderTarget,
                                                            IDirect3DSurface8* newZStencil) {
    return device->SetRenderTarget(renderTarget, newZStencil);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetRenderTarget(IDirect3DSurface8** renderTarget) {
    return device->GetRenderTarget(renderTarget);
}

HRESULT STDMETHODCALLTYPE
ShotTakingDevice::GetDepthStencilSurface(IDirect3DSurface8** zStencilSurface) {
    return device->GetDepthStencilSurface(zStencilSurface);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::BeginScene() {
    return device->BeginScene();
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::EndScene() {
    return device->EndScene();
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::Clear(DWORD rectCount, const D3DRECT* rects,
                                                  DWORD flags, D3DCOLOR color, float z,
                                                  DWORD stencil) {
    return device->Clear(rectCount, rects, flags, color, z, stencil);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetTransform(D3DTRANSFORMSTATETYPE state,
                                                         const D3DMATRIX* matrix) {
    return device->SetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetTransform(D3DTRANSFORMSTATETYPE state,
                                                         D3DMATRIX* matrix) {
    return device->GetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state,
                                                              const D3DMATRIX* matrix) {
    return device->MultiplyTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetViewport(const D3DVIEWPORT8* viewport) {
    return device->SetViewport(viewport);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetViewport(D3DVIEWPORT8* viewport) {
    return device->GetViewport(viewport);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetMaterial(const D3DMATERIAL8* material) {
    return device->SetMaterial(material);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetMaterial(D3DMATERIAL8* material) {
    return device->GetMaterial(material);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    return device->SetLight(index, light);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetLight(DWORD index, D3DLIGHT8* light) {
    return device->GetLight(index, light);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::LightEnable(DWORD index, WINBOOL enable) {
    return device->LightEnable(index, enable);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetLightEnable(DWORD index, WINBOOL* enable) {
    return device->GetLightEnable(index, enable);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetClipPlane(DWORD index, const float* plane) {
    return device->SetClipPlane(index, plane);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetClipPlane(DWORD index, float* plane) {
    return device->GetClipPlane(index, plane);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return device->SetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    return device->GetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::BeginStateBlock() {
    return device->BeginStateBlock();
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::EndStateBlock(DWORD* token) {
    return device->EndStateBlock(token);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::ApplyStateBlock(DWORD token) {
    return device->ApplyStateBlock(token);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CaptureStateBlock(DWORD token) {
    return device->CaptureStateBlock(token);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DeleteStateBlock(DWORD token) {
    return device->DeleteStateBlock(token);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* token) {
    return device->CreateStateBlock(type, token);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetClipStatus(const D3DCLIPSTATUS8* clipStatus) {
    return device->SetClipStatus(clipStatus);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetClipStatus(D3DCLIPSTATUS8* clipStatus) {
    return device->GetClipStatus(clipStatus);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetTexture(DWORD stage,
                                                       IDirect3DBaseTexture8** texture) {
    return device->GetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetTexture(DWORD stage,
                                                       IDirect3DBaseTexture8* texture) {
    return device->SetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetTextureStageState(DWORD stage,
                                                                 D3DTEXTURESTAGESTATETYPE type,
                                                                 DWORD* value) {
    return device->GetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetTextureStageState(DWORD stage,
                                                                 D3DTEXTURESTAGESTATETYPE type,
                                                                 DWORD value) {
    return device->SetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::ValidateDevice(DWORD* numPasses) {
    return device->ValidateDevice(numPasses);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetInfo(DWORD infoId, void* info, DWORD infoSize) {
    return device->GetInfo(infoId, info, infoSize);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetPaletteEntries(UINT paletteNumber,
                                                              const PALETTEENTRY* entries) {
    return device->SetPaletteEntries(paletteNumber, entries);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetPaletteEntries(UINT paletteNumber,
                                                              PALETTEENTRY* entries) {
    return device->GetPaletteEntries(paletteNumber, entries);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetCurrentTexturePalette(UINT paletteNumber) {
    return device->SetCurrentTexturePalette(paletteNumber);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetCurrentTexturePalette(UINT* paletteNumber) {
    return device->GetCurrentTexturePalette(paletteNumber);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                          UINT startVertex, UINT primitiveCount) {
    return device->DrawPrimitive(primitiveType, startVertex, primitiveCount);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                                 UINT minIndex, UINT numVertices,
                                                                 UINT startIndex, UINT primCount) {
    return device->DrawIndexedPrimitive(primitiveType, minIndex, numVertices, startIndex,
                                        primCount);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE primitiveType,
                                                            UINT primitiveCount, const void* data,
                                                            UINT stride) {
    return device->DrawPrimitiveUP(primitiveType, primitiveCount, data, stride);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawIndexedPrimitiveUP(
    D3DPRIMITIVETYPE primitiveType, UINT minVertexIndex, UINT vertexCount, UINT primitiveCount,
    const void* indexData, D3DFORMAT indexFormat, const void* data, UINT stride) {
    return device->DrawIndexedPrimitiveUP(primitiveType, minVertexIndex, vertexCount,
                                          primitiveCount, indexData, indexFormat, data, stride);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::ProcessVertices(UINT srcStartIndex, UINT destIndex,
                                                            UINT vertexCount,
                                                            IDirect3DVertexBuffer8* destBuffer,
                                                            DWORD flags) {
    return device->ProcessVertices(srcStartIndex, destIndex, vertexCount, destBuffer, flags);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreateVertexShader(const DWORD* declaration,
                                                               const DWORD* byteCode, DWORD* shader,
                                                               DWORD usage) {
    return device->CreateVertexShader(declaration, byteCode, shader, usage);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetVertexShader(DWORD handle) {
    return device->SetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetVertexShader(DWORD* handle) {
    return device->GetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DeleteVertexShader(DWORD handle) {
    return device->DeleteVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetVertexShaderConstant(DWORD registerIndex,
                                                                    const void* data, DWORD count) {
    return device->SetVertexShaderConstant(registerIndex, data, count);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetVertexShaderConstant(DWORD registerIndex,
                                                                    void* constantData,
                                                                    DWORD constantCount) {
    return device->GetVertexShaderConstant(registerIndex, constantData, constantCount);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetVertexShaderDeclaration(DWORD handle, void* data,
                                                                       DWORD* sizeOfData) {
    return device->GetVertexShaderDeclaration(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetVertexShaderFunction(DWORD handle, void* data,
                                                                    DWORD* sizeOfData) {
    return device->GetVertexShaderFunction(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetStreamSource(UINT streamNumber,
                                                            IDirect3DVertexBuffer8* streamData,
                                                            UINT stride) {
    return device->SetStreamSource(streamNumber, streamData, stride);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetStreamSource(UINT streamNumber,
                                                            IDirect3DVertexBuffer8** streamData,
                                                            UINT* stride) {
    return device->GetStreamSource(streamNumber, streamData, stride);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetIndices(IDirect3DIndexBuffer8* indexData,
                                                       UINT baseVertexIndex) {
    return device->SetIndices(indexData, baseVertexIndex);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetIndices(IDirect3DIndexBuffer8** indexData,
                                                       UINT* baseVertexIndex) {
    return device->GetIndices(indexData, baseVertexIndex);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::CreatePixelShader(const DWORD* byteCode,
                                                              DWORD* shader) {
    return device->CreatePixelShader(byteCode, shader);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetPixelShader(DWORD handle) {
    return device->SetPixelShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetPixelShader(DWORD* handle) {
    return device->GetPixelShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DeletePixelShader(DWORD handle) {
    return device->DeletePixelShader(handle);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::SetPixelShaderConstant(DWORD registerIndex,
                                                                   const void* data, DWORD count) {
    return device->SetPixelShaderConstant(registerIndex, data, count);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetPixelShaderConstant(DWORD registerIndex,
                                                                   void* constantData,
                                                                   DWORD constantCount) {
    return device->GetPixelShaderConstant(registerIndex, constantData, constantCount);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::GetPixelShaderFunction(DWORD handle, void* data,
                                                                   DWORD* sizeOfData) {
    return device->GetPixelShaderFunction(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawRectPatch(UINT handle, const float* segmentCount,
                                                          const D3DRECTPATCH_INFO* patchInfo) {
    return device->DrawRectPatch(handle, segmentCount, patchInfo);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DrawTriPatch(UINT handle, const float* segmentCount,
                                                         const D3DTRIPATCH_INFO* patchInfo) {
    return device->DrawTriPatch(handle, segmentCount, patchInfo);
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::DeletePatch(UINT handle) {
    return device->DeletePatch(handle);
}
