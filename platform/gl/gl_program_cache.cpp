#include "platform/gl/gl_program_cache.h"

#include <string>

#include "platform/gl/fixed_function_shader.h"

namespace {

GLuint Compile(GLenum type, const std::string& source, std::string* error) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        *error = log + "\n" + source;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GlProgramCache::~GlProgramCache() {
    // The owner clears the cache while its context is current; nothing is left to delete here.
}

void GlProgramCache::Clear() {
    for (auto& entry : programs) {
        glDeleteProgram(entry.second->program);
    }
    programs.clear();
}

void GlProgramCache::InvalidateUniforms() {
    for (auto& entry : programs) {
        GlProgram& program = *entry.second;
        program.transformStamp = GlProgram::kStale;
        program.materialStamp = GlProgram::kStale;
        program.renderStateStamp = GlProgram::kStale;
        program.viewportStamp = GlProgram::kStale;
    }
}

GlProgram* GlProgramCache::Get(const FixedFunctionKey& key) {
    auto found = programs.find(key);
    if (found != programs.end()) {
        return found->second.get();
    }
    std::unique_ptr<GlProgram> built = Build(key);
    if (!built) {
        return nullptr;
    }
    GlProgram* program = built.get();
    programs.emplace(key, std::move(built));
    return program;
}

std::unique_ptr<GlProgram> GlProgramCache::Build(const FixedFunctionKey& key) {
    const GLuint vertex =
        Compile(GL_VERTEX_SHADER, FixedFunctionVertexSource(key, *glsl), &lastError);
    if (vertex == 0) {
        return nullptr;
    }
    const GLuint fragment =
        Compile(GL_FRAGMENT_SHADER, FixedFunctionFragmentSource(key, *glsl), &lastError);
    if (fragment == 0) {
        glDeleteShader(vertex);
        return nullptr;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        lastError.assign(static_cast<size_t>(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(program, length, nullptr, lastError.data());
        glDeleteProgram(program);
        return nullptr;
    }

    auto built = std::make_unique<GlProgram>();
    built->program = program;
    built->modelView = glGetUniformLocation(program, "uModelView");
    built->projection = glGetUniformLocation(program, "uProjection");
    built->clipAdjust = glGetUniformLocation(program, "uClipAdjust");
    built->screenScale = glGetUniformLocation(program, "uScreenScale");
    built->ambientLight = glGetUniformLocation(program, "uAmbientLight");
    built->materialDiffuse = glGetUniformLocation(program, "uMaterialDiffuse");
    built->materialAmbient = glGetUniformLocation(program, "uMaterialAmbient");
    built->materialEmissive = glGetUniformLocation(program, "uMaterialEmissive");
    built->textureFactor = glGetUniformLocation(program, "uTextureFactor");
    built->alphaReference = glGetUniformLocation(program, "uAlphaReference");
    glUseProgram(program);
    for (unsigned stage = 0; stage < kTextureStageCount; ++stage) {
        const std::string n = std::to_string(stage);
        built->textureMatrix[stage] = glGetUniformLocation(program, ("uTextureMatrix" + n).c_str());
        // Stage n samples through texture unit n, whose sampler object holds its states.
        const GLint sampler = glGetUniformLocation(program, ("uTexture" + n).c_str());
        if (sampler >= 0) {
            glUniform1i(sampler, static_cast<GLint>(stage));
        }
    }
    return built;
}
