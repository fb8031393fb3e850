// IDirect3DDevice8 over OpenGL: the context's first state, the Set* calls that store Direct3D
// state (bindings aside), Clear, and DrawPrimitive, which works out the OpenGL state the stored
// state stands for and pushes only what differs from what it last applied.
#include "platform/gl/gl_device.h"

#include <cstring>

#include "platform/gl/fixed_function_shader.h"
#include "platform/gl/gl_api.h"
#include "platform/gl/gl_texture.h"
#include "platform/gl/gl_translate.h"
#include "platform/gl/gl_vertex_buffer.h"

namespace {

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[row][k] * b.m[k][column];
            }
            product.m[row][column] = sum;
        }
    }
    return product;
}

void SetEnabled(GLenum capability, bool enabled) {
    if (enabled) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void PushSamplerState(const GlDialect& dialect, GLuint sampler, const GlSamplerState& wanted,
                      const GlSamplerState* applied) {
    if (applied == nullptr || applied->minFilter != wanted.minFilter) {
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(wanted.minFilter));
    }
    if (applied == nullptr || applied->magFilter != wanted.magFilter) {
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(wanted.magFilter));
    }
    if (applied == nullptr || applied->wrapS != wanted.wrapS) {
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S,
                            static_cast<GLint>(dialect.WrapMode(wanted.wrapS)));
    }
    if (applied == nullptr || applied->wrapT != wanted.wrapT) {
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T,
                            static_cast<GLint>(dialect.WrapMode(wanted.wrapT)));
    }
    if (applied == nullptr || applied->minLod != wanted.minLod) {
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, wanted.minLod);
    }
    if (applied == nullptr || applied->lodBias != wanted.lodBias) {
        dialect.SetLodBias(sampler, wanted.lodBias);
    }
    if (applied == nullptr ||
        std::memcmp(applied->borderColor, wanted.borderColor, sizeof(wanted.borderColor)) != 0) {
        dialect.SetBorderColour(sampler, wanted.borderColor);
    }
}

}  // namespace

void GlDevice::InitContextState() {
    QueryMaxTextureSize();

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    // What a vertex without diffuse or specular supplies: opaque white and black.
    glVertexAttrib4f(kDiffuseAttribute, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(kSpecularAttribute, 0.0f, 0.0f, 0.0f, 0.0f);

    glGenSamplers(static_cast<GLsizei>(kTextureStageCount), samplers);
    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        glBindSampler(stage, samplers[stage]);
        appliedSamplers[stage] = GlSamplerStateFor(state, stage);
        PushSamplerState(*dialect, samplers[stage], appliedSamplers[stage], nullptr);
    }
    samplersFromVersion = state.StageStateVersion();

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    dialect->InitContext();
    // The picture is drawn top row first (window y runs down the screen, as Direct3D's does), so
    // what looks clockwise on screen is clockwise in window space too.
    glFrontFace(GL_CW);
    glDisable(GL_DITHER);
    glDisable(GL_SCISSOR_TEST);
    ApplyRasterStateForced(GlRasterStateFor(state, presentParameters.EnableAutoDepthStencil));
}

void GlDevice::ForgetAppliedState() {
    // The stored state starts over with new version counters: nothing derived from the old
    // ones may be trusted. What OpenGL holds is still what the applied records say.
    rasterFromVersion = kNever;
    samplersFromVersion = kNever;
    keyFromRenderVersion = kNever;
    keyFromStageVersion = kNever;
    keyFromBindingVersion = kNever;
    vertexMatricesVersion = kNever;
    programs.InvalidateUniforms();
}

HRESULT STDMETHODCALLTYPE GlDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags,
                                          D3DCOLOR color, float z, DWORD) {
    if ((flags & D3DCLEAR_ZBUFFER) && !backBuffer.HasDepth()) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_STENCIL) != 0) {
        return D3DERR_INVALIDCALL;  // the back buffer has no stencil
    }
    if (rectCount > 0 && rects == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        const auto channels = ColorChannels(color);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(channels[0], channels[1], channels[2], channels[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        // Clearing ignores the depth-write state, as on Direct3D.
        glDepthMask(GL_TRUE);
        dialect->ClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    backBuffer.Bind();
    if (rectCount == 0) {
        glClear(mask);
    } else {
        // Window rows are Direct3D's rows: the rectangles serve as scissor boxes unchanged.
        glEnable(GL_SCISSOR_TEST);
        for (DWORD i = 0; i < rectCount; ++i) {
            const D3DRECT& r = rects[i];
            if (r.x2 <= r.x1 || r.y2 <= r.y1) {
                continue;
            }
            glScissor(r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1);
            glClear(mask);
        }
        glDisable(GL_SCISSOR_TEST);
    }
    RestoreWriteMasks();
    return D3D_OK;
}

void GlDevice::RestoreWriteMasks() {
    glColorMask(appliedRaster.colorWrite[0], appliedRaster.colorWrite[1],
                appliedRaster.colorWrite[2], appliedRaster.colorWrite[3]);
    glDepthMask(appliedRaster.depthWrite ? GL_TRUE : GL_FALSE);
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTransform(D3DTRANSFORMSTATETYPE transform,
                                                 const D3DMATRIX* matrix) {
    if (matrix == nullptr || !DeviceState::IsValidTransform(transform)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetTransform(transform, *matrix);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetMaterial(const D3DMATERIAL8* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    state.SetMaterial(*material);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetRenderState(D3DRENDERSTATETYPE renderState, DWORD value) {
    if (!DeviceState::IsValidRenderState(renderState)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetRenderState(renderState, value);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                         DWORD value) {
    if (!DeviceState::IsValidTextureStageState(stage, type)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetTextureStageState(stage, type, value);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetVertexShader(DWORD handle) {
    // Only fixed-function vertex formats: the layer has no programmable shaders, whose handles
    // have the low bit set.
    FvfLayout layout;
    if ((handle & D3DFVF_RESERVED0) != 0 || !DecodeFvf(handle, &layout)) {
        return D3DERR_INVALIDCALL;
    }
    if (!vertexLayoutValid || handle != vertexShader) {
        vertexShader = handle;
        vertexLayout = layout;
        vertexLayoutValid = true;
        ++bindingVersion;
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType, UINT startVertex,
                                                  UINT primitiveCount) {
    GlPrimitive primitive{};
    if (!inScene || !vertexLayoutValid || streamSource == nullptr ||
        !GlPrimitiveFor(primitiveType, primitiveCount, &primitive)) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    // Every vertex drawn must lie inside the buffer, which must not be locked.
    const uint64_t lastVertex = uint64_t{startVertex} + primitive.vertexCount - 1;
    if (streamStride < vertexLayout.stride || streamSource->Locked() ||
        lastVertex * streamStride + vertexLayout.stride > streamSource->Length() ||
        lastVertex >= static_cast<uint64_t>(INT_MAX)) {
        return D3DERR_INVALIDCALL;
    }
    GlProgram* program = PrepareProgram();
    if (program == nullptr) {
        return D3DERR_DRIVERINTERNALERROR;
    }
    ApplyRasterState();
    ApplyStageBindings(currentKey);
    ApplyVertexLayout();
    ApplyUniforms(program);
    glDrawArrays(primitive.mode, static_cast<GLint>(startVertex),
                 static_cast<GLsizei>(primitive.vertexCount));
    return D3D_OK;
}

GlProgram* GlDevice::PrepareProgram() {
    if (currentProgram == nullptr || keyFromRenderVersion != state.RenderStateVersion() ||
        keyFromStageVersion != state.StageStateVersion() ||
        keyFromBindingVersion != bindingVersion) {
        uint32_t boundTextures = 0;
        for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
            if (textures[stage] != nullptr) {
                boundTextures |= 1u << stage;
            }
        }
        const FixedFunctionKey key = BuildFixedFunctionKey(state, vertexLayout, boundTextures);
        if (currentProgram == nullptr || !(key == currentKey)) {
            currentKey = key;
            currentProgram = programs.Get(key);
        }
        if (currentProgram == nullptr) {
            return nullptr;  // the versions stay stale, so the next draw tries again
        }
        keyFromRenderVersion = state.RenderStateVersion();
        keyFromStageVersion = state.StageStateVersion();
        keyFromBindingVersion = bindingVersion;
    }
    if (appliedProgram != currentProgram->program) {
        glUseProgram(currentProgram->program);
        appliedProgram = currentProgram->program;
    }
    return currentProgram;
}

void GlDevice::ApplyRasterStateForced(const GlRasterState& raster) {
    SetEnabled(GL_DEPTH_TEST, raster.depthTest);
    glDepthMask(raster.depthWrite ? GL_TRUE : GL_FALSE);
    glDepthFunc(raster.depthFunc);
    SetEnabled(GL_BLEND, raster.blend);
    glBlendFunc(raster.blendSource, raster.blendDestination);
    glBlendEquation(raster.blendEquation);
    SetEnabled(GL_CULL_FACE, raster.cull);
    glCullFace(raster.cullFace);
    glColorMask(raster.colorWrite[0], raster.colorWrite[1], raster.colorWrite[2],
                raster.colorWrite[3]);
    dialect->SetPolygonMode(raster.polygonMode);
    dialect->SetLineSmooth(raster.lineSmooth);
    appliedRaster = raster;
    rasterFromVersion = state.RenderStateVersion();
}

void GlDevice::ApplyRasterState() {
    if (rasterFromVersion == state.RenderStateVersion()) {
        return;
    }
    const GlRasterState wanted = GlRasterStateFor(state, backBuffer.HasDepth());
    const GlRasterState& applied = appliedRaster;
    if (wanted.depthTest != applied.depthTest) {
        SetEnabled(GL_DEPTH_TEST, wanted.depthTest);
    }
    if (wanted.depthWrite != applied.depthWrite) {
        glDepthMask(wanted.depthWrite ? GL_TRUE : GL_FALSE);
    }
    if (wanted.depthFunc != applied.depthFunc) {
        glDepthFunc(wanted.depthFunc);
    }
    if (wanted.blend != applied.blend) {
        SetEnabled(GL_BLEND, wanted.blend);
    }
    if (wanted.blendSource != applied.blendSource ||
        wanted.blendDestination != applied.blendDestination) {
        glBlendFunc(wanted.blendSource, wanted.blendDestination);
    }
    if (wanted.blendEquation != applied.blendEquation) {
        glBlendEquation(wanted.blendEquation);
    }
    if (wanted.cull != applied.cull) {
        SetEnabled(GL_CULL_FACE, wanted.cull);
    }
    if (wanted.cullFace != applied.cullFace) {
        glCullFace(wanted.cullFace);
    }
    if (std::memcmp(wanted.colorWrite, applied.colorWrite, sizeof(wanted.colorWrite)) != 0) {
        glColorMask(wanted.colorWrite[0], wanted.colorWrite[1], wanted.colorWrite[2],
                    wanted.colorWrite[3]);
    }
    if (wanted.polygonMode != applied.polygonMode) {
        dialect->SetPolygonMode(wanted.polygonMode);
    }
    if (wanted.lineSmooth != applied.lineSmooth) {
        dialect->SetLineSmooth(wanted.lineSmooth);
    }
    appliedRaster = wanted;
    rasterFromVersion = state.RenderStateVersion();
}

void GlDevice::ApplyStageBindings(const FixedFunctionKey& key) {
    if (samplersFromVersion != state.StageStateVersion()) {
        for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
            const GlSamplerState wanted = GlSamplerStateFor(state, stage);
            if (!(wanted == appliedSamplers[stage])) {
                PushSamplerState(*dialect, samplers[stage], wanted, &appliedSamplers[stage]);
                appliedSamplers[stage] = wanted;
            }
        }
        samplersFromVersion = state.StageStateVersion();
    }
    for (DWORD stage = 0; stage < key.stageCount; ++stage) {
        // A sampled stage always has a texture: without one the key passes CURRENT through.
        if (!key.stages[stage].sampled || textures[stage] == nullptr) {
            continue;
        }
        const GLuint name = textures[stage]->Name();
        if (appliedTextures[stage] != name) {
            glActiveTexture(GL_TEXTURE0 + stage);
            glBindTexture(GL_TEXTURE_2D, name);
            appliedTextures[stage] = name;
        }
    }
}

void GlDevice::ApplyVertexLayout() {
    const GLuint name = streamSource->Name();
    if (name == appliedVertexBuffer && vertexShader == appliedFvf &&
        streamStride == appliedStride) {
        return;
    }
    const auto stride = static_cast<GLsizei>(streamStride);
    const auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, static_cast<GLint>(vertexLayout.positionComponents),
                          GL_FLOAT, GL_FALSE, stride, at(0));
    // Colours are A8R8G8B8 words: BGRA bytes in memory.
    if (vertexLayout.diffuseOffset >= 0) {
        glEnableVertexAttribArray(kDiffuseAttribute);
        dialect->ColourAttribute(kDiffuseAttribute, stride,
                                 static_cast<size_t>(vertexLayout.diffuseOffset));
    } else {
        glDisableVertexAttribArray(kDiffuseAttribute);
    }
    if (vertexLayout.specularOffset >= 0) {
        glEnableVertexAttribArray(kSpecularAttribute);
        dialect->ColourAttribute(kSpecularAttribute, stride,
                                 static_cast<size_t>(vertexLayout.specularOffset));
    } else {
        glDisableVertexAttribArray(kSpecularAttribute);
    }
    for (UINT set = 0; set < kMaxTexCoordSets; ++set) {
        const GLuint location = kTexCoordAttribute0 + set;
        if (set < vertexLayout.texCoordCount) {
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location,
                                  static_cast<GLint>(vertexLayout.texCoordComponents[set]),
                                  GL_FLOAT, GL_FALSE, stride, at(vertexLayout.texCoordOffset[set]));
        } else {
            glDisableVertexAttribArray(location);
        }
    }
    appliedVertexBuffer = name;
    appliedFvf = vertexShader;
    appliedStride = streamStride;
}

void GlDevice::ApplyUniforms(GlProgram* program) {
    const uint64_t transformVersion = state.TransformVersion();
    if (program->transformStamp != transformVersion || program->viewportStamp != viewportVersion) {
        if (vertexMatricesVersion != transformVersion ||
            vertexMatricesViewport != viewportVersion) {
            // A point goes through world x view, then through the projection, as two products
            // (not one of all three matrices): the depths of two surfaces that nearly touch are
            // rounded as Direct3D drivers over OpenGL round them, so the same one shows. The
            // half pixel and the depth range ride on the projection.
            modelView = Multiply(state.Transform(D3DTS_WORLD), state.Transform(D3DTS_VIEW));
            glProjection = Multiply(state.Transform(D3DTS_PROJECTION),
                                    GlClipFromDirect3D(backBuffer.Width(), backBuffer.Height()));
            vertexMatricesVersion = transformVersion;
            vertexMatricesViewport = viewportVersion;
        }
        // Row-major data read as column-major is the transpose: M * v in GLSL is v * M.
        glUniformMatrix4fv(program->modelView, 1, GL_FALSE, &modelView.m[0][0]);
        glUniformMatrix4fv(program->projection, 1, GL_FALSE, &glProjection.m[0][0]);
        for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
            if (program->textureMatrix[stage] >= 0) {
                const D3DMATRIX& matrix =
                    state.Transform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + stage));
                glUniformMatrix4fv(program->textureMatrix[stage], 1, GL_FALSE, &matrix.m[0][0]);
            }
        }
        program->transformStamp = transformVersion;
    }
    if (program->viewportStamp != viewportVersion) {
        const float width = static_cast<float>(backBuffer.Width());
        const float height = static_cast<float>(backBuffer.Height());
        // Direct3D's pixel centres sit on integer coordinates, OpenGL's half a pixel further
        // right and down the screen: the whole half pixel, so that texture coordinates are taken
        // at Direct3D's centres exactly and a point-sampled texel edge falls where Direct3D puts
        // it. Depth runs 0..w in Direct3D, -w..w in OpenGL. Screen-space vertices only: the
        // others have it in their projection.
        glUniform4f(program->clipAdjust, 1.0f / width, -1.0f / height, 2.0f, -1.0f);
        glUniform2f(program->screenScale, 2.0f / width, 2.0f / height);
        program->viewportStamp = viewportVersion;
    }
    if (program->materialStamp != state.MaterialVersion()) {
        const D3DMATERIAL8& material = state.Material();
        const auto set = [](GLint location, const D3DCOLORVALUE& c) {
            glUniform4f(location, c.r, c.g, c.b, c.a);
        };
        set(program->materialDiffuse, material.Diffuse);
        set(program->materialAmbient, material.Ambient);
        set(program->materialEmissive, material.Emissive);
        program->materialStamp = state.MaterialVersion();
    }
    if (program->renderStateStamp != state.RenderStateVersion()) {
        const auto ambient = ColorChannels(state.RenderState(D3DRS_AMBIENT));
        glUniform4f(program->ambientLight, ambient[0], ambient[1], ambient[2], ambient[3]);
        const auto factor = ColorChannels(state.RenderState(D3DRS_TEXTUREFACTOR));
        glUniform4f(program->textureFactor, factor[0], factor[1], factor[2], factor[3]);
        glUniform1f(program->alphaReference,
                    static_cast<float>(state.RenderState(D3DRS_ALPHAREF) & 0xFFu) / 255.0f);
        program->renderStateStamp = state.RenderStateVersion();
    }
}
