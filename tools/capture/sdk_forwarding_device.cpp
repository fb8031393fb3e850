#include "tools/capture/sdk_forwarding_device.h"

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::TestCooperativeLevel() {
    return Inner()->TestCooperativeLevel();
}

UINT STDMETHODCALLTYPE SdkForwardingDevice::GetAvailableTextureMem() {
    return Inner()->GetAvailableTextureMem();
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::ResourceManagerDiscardBytes(DWORD bytes) {
    return Inner()->ResourceManagerDiscardBytes(bytes);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetCursorProperties(
    UINT hotSpotX, UINT hotSpotY, IDirect3DSurface8* cursorBitmap) {
    return Inner()->SetCursorProperties(hotSpotX, hotSpotY, cursorBitmap);
}

void STDMETHODCALLTYPE SdkForwardingDevice::SetCursorPosition(UINT screenX, UINT screenY,
                                                              DWORD flags) {
    Inner()->SetCursorPosition(screenX, screenY, flags);
}

WINBOOL STDMETHODCALLTYPE SdkForwardingDevice::ShowCursor(WINBOOL show) {
    return Inner()->ShowCursor(show);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateAdditionalSwapChain(
    D3DPRESENT_PARAMETERS* presentationParameters, IDirect3DSwapChain8** swapChain) {
    return Inner()->CreateAdditionalSwapChain(presentationParameters, swapChain);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type,
                                                             IDirect3DSurface8** backBuffer) {
    return Inner()->GetBackBuffer(index, type, backBuffer);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetRasterStatus(D3DRASTER_STATUS* rasterStatus) {
    return Inner()->GetRasterStatus(rasterStatus);
}

void STDMETHODCALLTYPE SdkForwardingDevice::SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) {
    Inner()->SetGammaRamp(flags, ramp);
}

void STDMETHODCALLTYPE SdkForwardingDevice::GetGammaRamp(D3DGAMMARAMP* ramp) {
    Inner()->GetGammaRamp(ramp);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateVolumeTexture(
    UINT width, UINT height, UINT depth, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
    IDirect3DVolumeTexture8** volumeTexture) {
    return Inner()->CreateVolumeTexture(width, height, depth, levels, usage, format, pool,
                                        volumeTexture);
}

HRESULT STDMETHODCALLTYPE
SdkForwardingDevice::CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DCubeTexture8** cubeTexture) {
    return Inner()->CreateCubeTexture(edgeLength, levels, usage, format, pool, cubeTexture);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateIndexBuffer(
    UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer8** indexBuffer) {
    return Inner()->CreateIndexBuffer(length, usage, format, pool, indexBuffer);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateRenderTarget(UINT width, UINT height,
                                                                  D3DFORMAT format,
                                                                  D3DMULTISAMPLE_TYPE multiSample,
                                                                  WINBOOL lockable,
                                                                  IDirect3DSurface8** surface) {
    return Inner()->CreateRenderTarget(width, height, format, multiSample, lockable, surface);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateDepthStencilSurface(
    UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
    IDirect3DSurface8** surface) {
    return Inner()->CreateDepthStencilSurface(width, height, format, multiSample, surface);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateImageSurface(UINT width, UINT height,
                                                                  D3DFORMAT format,
                                                                  IDirect3DSurface8** surface) {
    return Inner()->CreateImageSurface(width, height, format, surface);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CopyRects(IDirect3DSurface8* srcSurface,
                                                         const RECT* srcRects, UINT rectCount,
                                                         IDirect3DSurface8* dstSurface,
                                                         const POINT* dstPoints) {
    return Inner()->CopyRects(srcSurface, srcRects, rectCount, dstSurface, dstPoints);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::UpdateTexture(
    IDirect3DBaseTexture8* sourceTexture, IDirect3DBaseTexture8* destinationTexture) {
    return Inner()->UpdateTexture(sourceTexture, destinationTexture);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetFrontBuffer(IDirect3DSurface8* destSurface) {
    return Inner()->GetFrontBuffer(destSurface);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetRenderTarget(IDirect3DSurface8* renderTarget,
                                                               IDirect3DSurface8* newZStencil) {
    return Inner()->SetRenderTarget(renderTarget, newZStencil);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetRenderTarget(IDirect3DSurface8** renderTarget) {
    return Inner()->GetRenderTarget(renderTarget);
}

HRESULT STDMETHODCALLTYPE
SdkForwardingDevice::GetDepthStencilSurface(IDirect3DSurface8** zStencilSurface) {
    return Inner()->GetDepthStencilSurface(zStencilSurface);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetTransform(D3DTRANSFORMSTATETYPE state,
                                                            D3DMATRIX* matrix) {
    return Inner()->GetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state,
                                                                 const D3DMATRIX* matrix) {
    return Inner()->MultiplyTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetViewport(const D3DVIEWPORT8* viewport) {
    return Inner()->SetViewport(viewport);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetViewport(D3DVIEWPORT8* viewport) {
    return Inner()->GetViewport(viewport);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetMaterial(D3DMATERIAL8* material) {
    return Inner()->GetMaterial(material);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    return Inner()->SetLight(index, light);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetLight(DWORD index, D3DLIGHT8* light) {
    return Inner()->GetLight(index, light);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::LightEnable(DWORD index, WINBOOL enable) {
    return Inner()->LightEnable(index, enable);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetLightEnable(DWORD index, WINBOOL* enable) {
    return Inner()->GetLightEnable(index, enable);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetClipPlane(DWORD index, const float* plane) {
    return Inner()->SetClipPlane(index, plane);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetClipPlane(DWORD index, float* plane) {
    return Inner()->GetClipPlane(index, plane);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetRenderState(D3DRENDERSTATETYPE state,
                                                              DWORD* value) {
    return Inner()->GetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::BeginStateBlock() {
    return Inner()->BeginStateBlock();
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::EndStateBlock(DWORD* token) {
    return Inner()->EndStateBlock(token);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::ApplyStateBlock(DWORD token) {
    return Inner()->ApplyStateBlock(token);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CaptureStateBlock(DWORD token) {
    return Inner()->CaptureStateBlock(token);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DeleteStateBlock(DWORD token) {
    return Inner()->DeleteStateBlock(token);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateStateBlock(D3DSTATEBLOCKTYPE type,
                                                                DWORD* token) {
    return Inner()->CreateStateBlock(type, token);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetClipStatus(const D3DCLIPSTATUS8* clipStatus) {
    return Inner()->SetClipStatus(clipStatus);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetClipStatus(D3DCLIPSTATUS8* clipStatus) {
    return Inner()->GetClipStatus(clipStatus);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetTexture(DWORD stage,
                                                          IDirect3DBaseTexture8** texture) {
    return Inner()->GetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetTextureStageState(DWORD stage,
                                                                    D3DTEXTURESTAGESTATETYPE type,
                                                                    DWORD* value) {
    return Inner()->GetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::ValidateDevice(DWORD* numPasses) {
    return Inner()->ValidateDevice(numPasses);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetInfo(DWORD infoId, void* info, DWORD infoSize) {
    return Inner()->GetInfo(infoId, info, infoSize);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetPaletteEntries(UINT paletteNumber,
                                                                 const PALETTEENTRY* entries) {
    return Inner()->SetPaletteEntries(paletteNumber, entries);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetPaletteEntries(UINT paletteNumber,
                                                                 PALETTEENTRY* entries) {
    return Inner()->GetPaletteEntries(paletteNumber, entries);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetCurrentTexturePalette(UINT paletteNumber) {
    return Inner()->SetCurrentTexturePalette(paletteNumber);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetCurrentTexturePalette(UINT* paletteNumber) {
    return Inner()->GetCurrentTexturePalette(paletteNumber);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                                    UINT minIndex, UINT numVertices,
                                                                    UINT startIndex,
                                                                    UINT primCount) {
    return Inner()->DrawIndexedPrimitive(primitiveType, minIndex, numVertices, startIndex,
                                         primCount);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE primitiveType,
                                                               UINT primitiveCount,
                                                               const void* data, UINT stride) {
    return Inner()->DrawPrimitiveUP(primitiveType, primitiveCount, data, stride);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DrawIndexedPrimitiveUP(
    D3DPRIMITIVETYPE primitiveType, UINT minVertexIndex, UINT vertexCount, UINT primitiveCount,
    const void* indexData, D3DFORMAT indexFormat, const void* data, UINT stride) {
    return Inner()->DrawIndexedPrimitiveUP(primitiveType, minVertexIndex, vertexCount,
                                           primitiveCount, indexData, indexFormat, data, stride);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::ProcessVertices(UINT srcStartIndex, UINT destIndex,
                                                               UINT vertexCount,
                                                               IDirect3DVertexBuffer8* destBuffer,
                                                               DWORD flags) {
    return Inner()->ProcessVertices(srcStartIndex, destIndex, vertexCount, destBuffer, flags);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreateVertexShader(const DWORD* declaration,
                                                                  const DWORD* byteCode,
                                                                  DWORD* shader, DWORD usage) {
    return Inner()->CreateVertexShader(declaration, byteCode, shader, usage);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetVertexShader(DWORD* handle) {
    return Inner()->GetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DeleteVertexShader(DWORD handle) {
    return Inner()->DeleteVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetVertexShaderConstant(DWORD registerIndex,
                                                                       const void* data,
                                                                       DWORD count) {
    return Inner()->SetVertexShaderConstant(registerIndex, data, count);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetVertexShaderConstant(DWORD registerIndex,
                                                                       void* constantData,
                                                                       DWORD constantCount) {
    return Inner()->GetVertexShaderConstant(registerIndex, constantData, constantCount);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetVertexShaderDeclaration(DWORD handle, void* data,
                                                                          DWORD* sizeOfData) {
    return Inner()->GetVertexShaderDeclaration(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetVertexShaderFunction(DWORD handle, void* data,
                                                                       DWORD* sizeOfData) {
    return Inner()->GetVertexShaderFunction(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetStreamSource(UINT streamNumber,
                                                               IDirect3DVertexBuffer8** streamData,
                                                               UINT* stride) {
    return Inner()->GetStreamSource(streamNumber, streamData, stride);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetIndices(IDirect3DIndexBuffer8* indexData,
                                                          UINT baseVertexIndex) {
    return Inner()->SetIndices(indexData, baseVertexIndex);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetIndices(IDirect3DIndexBuffer8** indexData,
                                                          UINT* baseVertexIndex) {
    return Inner()->GetIndices(indexData, baseVertexIndex);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::CreatePixelShader(const DWORD* byteCode,
                                                                 DWORD* shader) {
    return Inner()->CreatePixelShader(byteCode, shader);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetPixelShader(DWORD handle) {
    return Inner()->SetPixelShader(handle);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetPixelShader(DWORD* handle) {
    return Inner()->GetPixelShader(handle);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DeletePixelShader(DWORD handle) {
    return Inner()->DeletePixelShader(handle);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::SetPixelShaderConstant(DWORD registerIndex,
                                                                      const void* data,
                                                                      DWORD count) {
    return Inner()->SetPixelShaderConstant(registerIndex, data, count);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetPixelShaderConstant(DWORD registerIndex,
                                                                      void* constantData,
                                                                      DWORD constantCount) {
    return Inner()->GetPixelShaderConstant(registerIndex, constantData, constantCount);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::GetPixelShaderFunction(DWORD handle, void* data,
                                                                      DWORD* sizeOfData) {
    return Inner()->GetPixelShaderFunction(handle, data, sizeOfData);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DrawRectPatch(UINT handle, const float* segmentCount,
                                                             const D3DRECTPATCH_INFO* patchInfo) {
    return Inner()->DrawRectPatch(handle, segmentCount, patchInfo);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DrawTriPatch(UINT handle, const float* segmentCount,
                                                            const D3DTRIPATCH_INFO* patchInfo) {
    return Inner()->DrawTriPatch(handle, segmentCount, patchInfo);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDevice::DeletePatch(UINT handle) {
    return Inner()->DeletePatch(handle);
}
