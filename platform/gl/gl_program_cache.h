// The generated fixed-function programs, one per state combination the game has drawn with,
// compiled on first use and kept for the device's life. Each remembers which versions of the
// device's transforms, material and render states its uniforms last received, so switching
// programs re-uploads only what changed since that program last drew.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/gl/fixed_function_key.h"
#include "platform/gl/fixed_function_shader.h"
#include "platform/gl/gl_api.h"

struct GlProgram {
    GLuint program = 0;
    GLint modelView = -1;
    GLint projection = -1;
    GLint clipAdjust = -1;
    GLint screenScale = -1;
    GLint ambientLight = -1;
    GLint materialDiffuse = -1;
    GLint materialAmbient = -1;
    GLint materialEmissive = -1;
    GLint textureFactor = -1;
    GLint alphaReference = -1;
    GLint textureMatrix[kTextureStageCount] = {-1, -1, -1, -1, -1, -1, -1, -1};

    // What the uniforms hold, as the device's change counters; kStale forces an upload.
    static constexpr uint64_t kStale = ~uint64_t{0};
    uint64_t transformStamp = kStale;
    uint64_t materialStamp = kStale;
    uint64_t renderStateStamp = kStale;
    uint64_t viewportStamp = kStale;
};

class GlProgramCache {
public:
    explicit GlProgramCache(const GlslDialect& dialect) : glsl(&dialect) {}
    GlProgramCache(const GlProgramCache&) = delete;
    GlProgramCache& operator=(const GlProgramCache&) = delete;
    ~GlProgramCache();

    // The program for the key, built on first use; null when it does not compile or link.
    GlProgram* Get(const FixedFunctionKey& key);
    // Deletes every program; needs the context.
    void Clear();
    // Forgets every program without OpenGL calls, for when the context is already gone.
    void Abandon() { programs.clear(); }
    // Marks every program's uniforms stale (the device's counters restarted).
    void InvalidateUniforms();
    size_t Size() const { return programs.size(); }
    // The compiler's or linker's message for the last program that failed.
    const std::string& LastError() const { return lastError; }

private:
    std::unique_ptr<GlProgram> Build(const FixedFunctionKey& key);

    std::unordered_map<FixedFunctionKey, std::unique_ptr<GlProgram>, FixedFunctionKeyHash> programs;
    std::string lastError;
    const GlslDialect* glsl;
};
