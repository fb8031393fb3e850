// The rest of the SDK's Direct3D 8 device interface, forwarded unchanged and in order: what the
// Windows capture tool's device needs beyond the calls our own declarations have. Built only
// with the SDK's headers.
#pragma once

#include "tools/capture/forwarding_device.h"

class SdkForwardingDevice : public ForwardingDevice {
public:
    using ForwardingDevice::ForwardingDevice;

    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE ResourceManagerDiscardBytes(DWORD bytes) override;
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT hotSpotX, UINT hotSpotY,
                                                  IDirect3DSurface8* cursorBitmap) override;
    void STDMETHODCALLTYPE SetCursorPosition(UINT screenX, UINT screenY, DWORD flags) override;
    WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL show) override;
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(
        D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DSwapChain8** swapChain) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type,
                                            IDirect3DSurface8** backBuffer) override;
    HRESULT STDMETHODCALLTYPE GetRasterStatus(D3DRASTER_STATUS* rasterStatus) override;
    void STDMETHODCALLTYPE SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) override;
    void STDMETHODCALLTYPE GetGammaRamp(D3DGAMMARAMP* ramp) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels,
                                                  DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                                  IDirect3DVolumeTexture8** volumeTexture) override;
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage,
                                                D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DCubeTexture8** cubeTexture) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format,
                                                D3DPOOL pool,
                                                IDirect3DIndexBuffer8** indexBuffer) override;
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                                 D3DMULTISAMPLE_TYPE multiSample, WINBOOL lockable,
                                                 IDirect3DSurface8** surface) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                        D3DMULTISAMPLE_TYPE multiSample,
                                                        IDirect3DSurface8** surface) override;
    HRESULT STDMETHODCALLTYPE CreateImageSurface(UINT width, UINT height, D3DFORMAT format,
                                                 IDirect3DSurface8** surface) override;
    HRESULT STDMETHODCALLTYPE CopyRects(IDirect3DSurface8* srcSurface, const RECT* srcRects,
                                        UINT rectCount, IDirect3DSurface8* dstSurface,
                                        const POINT* dstPoints) override;
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture8* sourceTexture,
                                            IDirect3DBaseTexture8* destinationTexture) override;
    HRESULT STDMETHODCALLTYPE GetFrontBuffer(IDirect3DSurface8* destSurface) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(IDirect3DSurface8* renderTarget,
                                              IDirect3DSurface8* newZStencil) override;
    HRESULT STDMETHODCALLTYPE GetRenderTarget(IDirect3DSurface8** renderTarget) override;
    HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface8** zStencilSurface) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state,
                                                const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT8* viewport) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL8* material) override;
    HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT8* light) override;
    HRESULT STDMETHODCALLTYPE GetLight(DWORD index, D3DLIGHT8* light) override;
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, WINBOOL enable) override;
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD index, WINBOOL* enable) override;
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override;
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD index, float* plane) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
    HRESULT STDMETHODCALLTYPE EndStateBlock(DWORD* token) override;
    HRESULT STDMETHODCALLTYPE ApplyStateBlock(DWORD token) override;
    HRESULT STDMETHODCALLTYPE CaptureStateBlock(DWORD token) override;
    HRESULT STDMETHODCALLTYPE DeleteStateBlock(DWORD token) override;
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* token) override;
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS8* clipStatus) override;
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS8* clipStatus) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD* value) override;
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* numPasses) override;
    HRESULT STDMETHODCALLTYPE GetInfo(DWORD infoId, void* info, DWORD infoSize) override;
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT paletteNumber,
                                                const PALETTEENTRY* entries) override;
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT paletteNumber, PALETTEENTRY* entries) override;
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT paletteNumber) override;
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* paletteNumber) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType, UINT minIndex,
                                                   UINT numVertices, UINT startIndex,
                                                   UINT primCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE primitiveType, UINT primitiveCount,
                                              const void* data, UINT stride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE primitiveType,
                                                     UINT minVertexIndex, UINT vertexCount,
                                                     UINT primitiveCount, const void* indexData,
                                                     D3DFORMAT indexFormat, const void* data,
                                                     UINT stride) override;
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT srcStartIndex, UINT destIndex, UINT vertexCount,
                                              IDirect3DVertexBuffer8* destBuffer,
                                              DWORD flags) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* declaration, const DWORD* byteCode,
                                                 DWORD* shader, DWORD usage) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(DWORD* handle) override;
    HRESULT STDMETHODCALLTYPE DeleteVertexShader(DWORD handle) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstant(DWORD registerIndex, const void* data,
                                                      DWORD count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstant(DWORD registerIndex, void* constantData,
                                                      DWORD constantCount) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderDeclaration(DWORD handle, void* data,
                                                         DWORD* sizeOfData) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderFunction(DWORD handle, void* data,
                                                      DWORD* sizeOfData) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT streamNumber,
                                              IDirect3DVertexBuffer8** streamData,
                                              UINT* stride) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer8* indexData,
                                         UINT baseVertexIndex) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer8** indexData,
                                         UINT* baseVertexIndex) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* byteCode, DWORD* shader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(DWORD handle) override;
    HRESULT STDMETHODCALLTYPE GetPixelShader(DWORD* handle) override;
    HRESULT STDMETHODCALLTYPE DeletePixelShader(DWORD handle) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstant(DWORD registerIndex, const void* data,
                                                     DWORD count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstant(DWORD registerIndex, void* constantData,
                                                     DWORD constantCount) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderFunction(DWORD handle, void* data,
                                                     DWORD* sizeOfData) override;
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT handle, const float* segmentCount,
                                            const D3DRECTPATCH_INFO* patchInfo) override;
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT handle, const float* segmentCount,
                                           const D3DTRIPATCH_INFO* patchInfo) override;
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT handle) override;
};
