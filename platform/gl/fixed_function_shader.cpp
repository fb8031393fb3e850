#include "platform/gl/fixed_function_shader.h"

#include <string>

namespace {

std::string Num(unsigned value) {
    return std::to_string(value);
}

// A D3DCOLOR attribute as red, green, blue, alpha.
std::string ColourInput(const char* attribute, const GlslDialect& glsl) {
    return std::string(attribute) + (glsl.colourBytesInMemoryOrder ? ".bgra" : "");
}

std::string SourceVector(ColorSource source, const char* material, const GlslDialect& glsl) {
    switch (source) {
        case ColorSource::VertexDiffuse:
            return ColourInput("aDiffuse", glsl);
        case ColorSource::VertexSpecular:
            return ColourInput("aSpecular", glsl);
        default:
            return material;
    }
}

// The extended coordinate a texture transform multiplies: Direct3D appends a 1 after the last
// component the vertex supplies, so a 2D (u, v) becomes (u, v, 1, 0).
std::string ExtendedTexCoord(const std::string& input, unsigned components) {
    switch (components) {
        case 1:
            return "vec4(" + input + ".x, 1.0, 0.0, 0.0)";
        case 2:
            return "vec4(" + input + ".xy, 1.0, 0.0)";
        case 3:
            return "vec4(" + input + ".xyz, 1.0)";
        default:
            return input;
    }
}

std::string Argument(uint8_t arg, unsigned stage, bool alpha) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
            value = "diffuse";
            break;
        case D3DTA_CURRENT:
            value = "current";
            break;
        case D3DTA_TEXTURE:
            value = "texel" + Num(stage);
            break;
        case D3DTA_TFACTOR:
            value = "uTextureFactor";
            break;
        case D3DTA_SPECULAR:
            value = "specular";
            break;
        default:
            value = "vec4(0.0)";  // TEMP: no result register
            break;
    }
    if (alpha) {
        value = "(" + value + ").a";
    } else if (arg & D3DTA_ALPHAREPLICATE) {
        value = "vec3((" + value + ").a)";
    } else {
        value = "(" + value + ").rgb";
    }
    if (arg & D3DTA_COMPLEMENT) {
        value = "(1.0 - " + value + ")";
    }
    return value;
}

// One stage operation on arguments a0, a1, a2 of the pipe's type.
std::string Operation(uint8_t op, unsigned stage, bool alpha) {
    const std::string texel = "texel" + Num(stage);
    const std::string one = alpha ? "1.0" : "vec3(1.0)";
    switch (op) {
        case D3DTOP_SELECTARG1:
            return "a1";
        case D3DTOP_SELECTARG2:
            return "a2";
        case D3DTOP_MODULATE:
            return "a1 * a2";
        case D3DTOP_MODULATE2X:
            return "a1 * a2 * 2.0";
        case D3DTOP_MODULATE4X:
            return "a1 * a2 * 4.0";
        case D3DTOP_ADD:
            return "a1 + a2";
        case D3DTOP_ADDSIGNED:
            return "a1 + a2 - 0.5";
        case D3DTOP_ADDSIGNED2X:
            return "(a1 + a2 - 0.5) * 2.0";
        case D3DTOP_SUBTRACT:
            return "a1 - a2";
        case D3DTOP_ADDSMOOTH:
            return "a1 + a2 - a1 * a2";
        case D3DTOP_BLENDDIFFUSEALPHA:
            return "mix(a2, a1, diffuse.a)";
        case D3DTOP_BLENDTEXTUREALPHA:
            return "mix(a2, a1, " + texel + ".a)";
        case D3DTOP_BLENDFACTORALPHA:
            return "mix(a2, a1, uTextureFactor.a)";
        case D3DTOP_BLENDTEXTUREALPHAPM:
            return "a1 + a2 * (1.0 - " + texel + ".a)";
        case D3DTOP_BLENDCURRENTALPHA:
            return "mix(a2, a1, current.a)";
        case D3DTOP_MODULATEALPHA_ADDCOLOR:
            return "a1 + a1a * a2";
        case D3DTOP_MODULATECOLOR_ADDALPHA:
            return "a1 * a2 + a1a";
        case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
            return "(1.0 - a1a) * a2 + a1";
        case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
            return "(" + one + " - a1) * a2 + a1a";
        case D3DTOP_DOTPRODUCT3:
            return alpha ? "dot3" : "vec3(dot3)";
        case D3DTOP_MULTIPLYADD:
            return "a0 + a1 * a2";
        case D3DTOP_LERP:
            return "a0 * a1 + (" + one + " - a0) * a2";
        default:
            return "a1 * a2";
    }
}

std::string AlphaTest(uint8_t func) {
    // The comparison is on 8-bit values, as the reference has only its low 8 bits.
    const char* compare = nullptr;
    switch (func) {
        case D3DCMP_NEVER:
            return "    discard;\n";
        case D3DCMP_LESS:
            compare = "<";
            break;
        case D3DCMP_EQUAL:
            compare = "==";
            break;
        case D3DCMP_LESSEQUAL:
            compare = "<=";
            break;
        case D3DCMP_GREATER:
            compare = ">";
            break;
        case D3DCMP_NOTEQUAL:
            compare = "!=";
            break;
        case D3DCMP_GREATEREQUAL:
            compare = ">=";
            break;
        default:
            return "";
    }
    return std::string("    if (!(current.a ") + compare +
           " uAlphaReference)) {\n        discard;\n    }\n";
}

}  // namespace

const GlslDialect kDesktopGlsl = {"#version 330 core\n", false};
// Every float and int at full precision: the pictures must match the desktop's to the bit.
const GlslDialect kEsGlsl = {
    "#version 300 es\nprecision highp float;\nprecision highp int;\n"
    "precision highp sampler2D;\n",
    true};

std::string FixedFunctionVertexSource(const FixedFunctionKey& key, const GlslDialect& glsl) {
    const char* interpolation = key.flatShading ? "flat " : "";
    std::string s = glsl.header;
    s += "layout(location = " + Num(kPositionAttribute) + ") in vec4 aPosition;\n";
    s += "layout(location = " + Num(kDiffuseAttribute) + ") in vec4 aDiffuse;\n";
    s += "layout(location = " + Num(kSpecularAttribute) + ") in vec4 aSpecular;\n";
    for (unsigned set = 0; set < kMaxTexCoordSets; ++set) {
        bool used = false;
        for (unsigned stage = 0; stage < key.stageCount; ++stage) {
            used = used || (key.stages[stage].sampled && key.stages[stage].texCoordSet == set);
        }
        if (used) {
            s += "layout(location = " + Num(kTexCoordAttribute0 + set) + ") in vec4 aTexCoord" +
                 Num(set) + ";\n";
        }
    }
    // Invariant: the same point in two draws (the sky's edge and the sea's far edge) gets the
    // same depth whatever else either program computes.
    s += "invariant gl_Position;\n";
    s += "uniform mat4 uModelView;\n";
    s += "uniform mat4 uProjection;\n";
    s += "uniform vec4 uClipAdjust;\n";
    s += "uniform vec2 uScreenScale;\n";
    s += "uniform vec4 uAmbientLight;\n";
    s += "uniform vec4 uMaterialDiffuse;\n";
    s += "uniform vec4 uMaterialAmbient;\n";
    s += "uniform vec4 uMaterialEmissive;\n";
    s += std::string(interpolation) + "out vec4 vDiffuse;\n";
    s += std::string(interpolation) + "out vec4 vSpecular;\n";
    for (unsigned stage = 0; stage < key.stageCount; ++stage) {
        const StageKey& st = key.stages[stage];
        if (st.sampled) {
            s += "out vec4 vTexCoord" + Num(stage) + ";\n";
            if (st.transformCount != 0) {
                s += "uniform mat4 uTextureMatrix" + Num(stage) + ";\n";
            }
        }
    }

    s += "void main() {\n";
    if (key.transformed) {
        // Screen pixels to clip space, keeping 1/rhw as w for perspective-correct interpolation.
        s += "    float w = 1.0 / aPosition.w;\n";
        s += "    vec4 clip = vec4((aPosition.x * uScreenScale.x - 1.0) * w,\n";
        s +=
            "                     (1.0 - aPosition.y * uScreenScale.y) * w, aPosition.z * w, w);\n";
        // Direct3D's pixel centres and 0..w depth range, in OpenGL's terms; then the picture is
        // drawn top row first, so that OpenGL's window rows are Direct3D's screen rows.
        s += "    clip.xy += uClipAdjust.xy * clip.w;\n";
        s += "    clip.z = clip.z * uClipAdjust.z + clip.w * uClipAdjust.w;\n";
        s += "    clip.y = -clip.y;\n";
        s += "    gl_Position = clip;\n";
    } else {
        // The row-major Direct3D matrices arrive transposed, so M * v is Direct3D's v * M. The
        // projection carries the pixel centres, the depth range and the top-row-first picture.
        s += "    gl_Position = uProjection * (uModelView * vec4(aPosition.xyz, 1.0));\n";
    }
    if (key.lighting) {
        // No lights: only the emissive and ambient terms remain; alpha comes from the diffuse.
        s += std::string("    vec4 ambient = ") +
             SourceVector(key.ambientSource, "uMaterialAmbient", glsl) + ";\n";
        s += std::string("    vec4 emissive = ") +
             SourceVector(key.emissiveSource, "uMaterialEmissive", glsl) + ";\n";
        s += std::string("    vec4 diffuseSource = ") +
             SourceVector(key.diffuseSource, "uMaterialDiffuse", glsl) + ";\n";
        s += "    vDiffuse = clamp(vec4(emissive.rgb + uAmbientLight.rgb * ambient.rgb,\n";
        s += "                          diffuseSource.a), 0.0, 1.0);\n";
        s += "    vSpecular = vec4(0.0);\n";
    } else {
        s += "    vDiffuse = " + ColourInput("aDiffuse", glsl) + ";\n";
        s += "    vSpecular = " + ColourInput("aSpecular", glsl) + ";\n";
    }
    for (unsigned stage = 0; stage < key.stageCount; ++stage) {
        const StageKey& st = key.stages[stage];
        if (!st.sampled) {
            continue;
        }
        const std::string out = "vTexCoord" + Num(stage);
        if (st.texCoordSet == kNoTexCoordSet) {
            s += "    " + out + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
            continue;
        }
        const std::string input = "aTexCoord" + Num(st.texCoordSet);
        if (st.transformCount == 0) {
            s += "    " + out + " = " + input + ";\n";
            continue;
        }
        s += "    " + out + " = uTextureMatrix" + Num(stage) + " * " +
             ExtendedTexCoord(input, st.texCoordComponents) + ";\n";
        if (st.transformCount == 1 && !st.transformProjected) {
            s += "    " + out + " = vec4(" + out + ".x, 0.0, 0.0, 1.0);\n";
        }
    }
    s += "}\n";
    return s;
}

std::string FixedFunctionFragmentSource(const FixedFunctionKey& key, const GlslDialect& glsl) {
    const char* interpolation = key.flatShading ? "flat " : "";
    std::string s = glsl.header;
    s += std::string(interpolation) + "in vec4 vDiffuse;\n";
    s += std::string(interpolation) + "in vec4 vSpecular;\n";
    s += "uniform vec4 uTextureFactor;\n";
    s += "uniform float uAlphaReference;\n";
    for (unsigned stage = 0; stage < key.stageCount; ++stage) {
        if (key.stages[stage].sampled) {
            s += "in vec4 vTexCoord" + Num(stage) + ";\n";
            s += "uniform sampler2D uTexture" + Num(stage) + ";\n";
        }
    }
    s += "out vec4 fragColor;\n";
    s += "void main() {\n";
    s += "    vec4 diffuse = vDiffuse;\n";
    s += "    vec4 specular = vSpecular;\n";
    s += "    vec4 current = diffuse;\n";
    for (unsigned stage = 0; stage < key.stageCount; ++stage) {
        const StageKey& st = key.stages[stage];
        const std::string n = Num(stage);
        s += "    {\n";
        s += "        vec3 colorResult;\n";
        s += "        float alphaResult;\n";
        if (st.sampled) {
            std::string coord = "vTexCoord" + n + ".xy";
            if (st.transformProjected && st.transformCount >= 2) {
                const char last = std::string("xyzw")[st.transformCount - 1u];
                coord = "(" + coord + " / vTexCoord" + n + "." + std::string(1, last) + ")";
            }
            s += "        vec4 texel" + n + " = texture(uTexture" + n + ", " + coord + ");\n";
        }
        for (int pipe = 0; pipe < 2; ++pipe) {
            const bool alpha = pipe == 1;
            const uint8_t op = alpha ? st.alphaOp : st.colorOp;
            const uint8_t* args = alpha ? st.alphaArg : st.colorArg;
            const std::string type = alpha ? "float" : "vec3";
            const std::string prefix = alpha ? "alpha" : "color";
            const uint32_t used = ArgumentsReadBy(op, alpha);
            s += "        {\n";
            for (int a = 0; a < 3; ++a) {
                if (used & (1u << a)) {
                    s += "            " + type + " a" + Num(static_cast<unsigned>(a)) + " = " +
                         Argument(args[a], stage, alpha) + ";\n";
                }
            }
            if (!alpha &&
                (op == D3DTOP_MODULATEALPHA_ADDCOLOR || op == D3DTOP_MODULATECOLOR_ADDALPHA ||
                 op == D3DTOP_MODULATEINVALPHA_ADDCOLOR ||
                 op == D3DTOP_MODULATEINVCOLOR_ADDALPHA)) {
                s += "            float a1a = " +
                     Argument(static_cast<uint8_t>(args[1] & ~D3DTA_ALPHAREPLICATE), stage, true) +
                     ";\n";
            }
            if (op == D3DTOP_DOTPRODUCT3) {
                // The dot product reads the colour of both arguments even in the alpha pipe.
                s += "            float dot3 = clamp(4.0 * dot(" + Argument(args[1], stage, false) +
                     " - 0.5, " + Argument(args[2], stage, false) + " - 0.5), 0.0, 1.0);\n";
            }
            s += "            " + prefix + "Result = clamp(" + Operation(op, stage, alpha) +
                 ", 0.0, 1.0);\n";
            s += "        }\n";
        }
        s += "        current = vec4(colorResult, alphaResult);\n";
        s += "    }\n";
    }
    s += AlphaTest(key.alphaTestFunc);
    s += "    fragColor = current;\n";
    s += "}\n";
    return s;
}
