#include "texture/TextureState.h"

#include "core/ExtensionRegistry.h"
#include "script/ScriptReader.h"

#include <cstddef>
#include <string>

namespace {

// A script word and its value. Lists are searched in order and the first word contained in the
// value word wins, so longer words come before their prefixes ("DOT3_RGBA" before "DOT3_RGB").
struct Keyword {
    const char* word;
    int value;
};

bool lookup(const std::string& value, const Keyword* table, std::size_t count, int& out)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (value.find(table[i].word) != std::string::npos) {
            out = table[i].value;
            return true;
        }
    }
    return false;
}

template <std::size_t N>
bool lookup(const std::string& value, const Keyword (&table)[N], int& out)
{
    return lookup(value, table, N, out);
}

// The text after the line's last blank ("" when the line ends in a blank).
std::string valueWord(const std::string& line)
{
    const auto blank = line.rfind(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

const Keyword kWrapWords[] = {
    {"CLAMP_S_CLAMP_T", kWrapClampClamp},
    {"CLAMP_S_WRAP_T", kWrapClampRepeat},
    {"WRAP_S_CLAMP_T", kWrapRepeatClamp},
    {"WRAP_S_WRAP_T", kWrapRepeatRepeat},
    {"CLAMP_BORDER_S_CLAMP_BORDER_T", kWrapBorder},
    {"CLAMP_EDGE_S_CLAMP_EDGE_T", kWrapEdge},
};

const Keyword kMagFilterWords[] = {
    {"NEAREST", GL_NEAREST},
    {"LINEAR", GL_LINEAR},
};

const Keyword kMinFilterWords[] = {
    {"NONE", GL_NEAREST},
    {"NEAREST_NEAREST", GL_NEAREST_MIPMAP_NEAREST},
    {"NEAREST_LINEAR", GL_NEAREST_MIPMAP_LINEAR},
    {"LINEAR_NEAREST", GL_LINEAR_MIPMAP_NEAREST},
    {"LINEAR_LINEAR", GL_LINEAR_MIPMAP_LINEAR},
    {"NEAREST", GL_NEAREST},
    {"LINEAR", GL_LINEAR},
};

const Keyword kEnvModeWords[] = {
    {"REPLACE", GL_REPLACE}, {"DECAL", GL_DECAL}, {"MODULATE", GL_MODULATE},
    {"BLEND", GL_BLEND},     {"ADD", GL_ADD},     {"COMBINE", GL_COMBINE_ARB},
};

const Keyword kCombineWords[] = {
    {"REPLACE", GL_REPLACE},
    {"MODULATE", GL_MODULATE},
    {"ADD_SIGNED", GL_ADD_SIGNED_ARB},
    {"ADD", GL_ADD},
    {"SUBTRACT", GL_SUBTRACT_ARB},
    {"INTERPOLATE", GL_INTERPOLATE_ARB},
    {"DOT3_RGBA", GL_DOT3_RGBA_ARB},
    {"DOT3_RGB", GL_DOT3_RGB_ARB},
};

const Keyword kSourceWords[] = {
    {"TEXTURE0", GL_TEXTURE0_ARB},
    {"TEXTURE1", GL_TEXTURE1_ARB},
    {"TEXTURE2", GL_TEXTURE2_ARB},
    {"TEXTURE3", GL_TEXTURE3_ARB},
    {"TEXTURE", GL_TEXTURE},
    {"PRIMARY_COLOR", GL_PRIMARY_COLOR_ARB},
    {"CONSTANT", GL_CONSTANT_ARB},
    {"PREVIOUS", GL_PREVIOUS_ARB},
};

const Keyword kOperandWords[] = {
    {"ONE_MINUS_SRC_COLOR", GL_ONE_MINUS_SRC_COLOR},
    {"SRC_COLOR", GL_SRC_COLOR},
    {"ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA},
    {"SRC_ALPHA", GL_SRC_ALPHA},
};

const Keyword kScaleWords[] = {
    {"ONE", 1},
    {"TWO", 2},
    {"FOUR", 4},
};

const Keyword kTexGenWords[] = {
    {"NONE", kGenNone},
    {"IGNORE", kGenIgnore},
    {"SPHERE", kGenSphere},
    {"OBJECT", kGenObject},
    {"EYE", kGenEye},
    {"REFLECTION_MAP", kGenReflectionMap},
    {"NORMAL_MAP", kGenNormalMap},
};

// One Apply line: its keyword, word list, the value when no word matches, and the field.
struct ApplyField {
    const char* keyword;
    const Keyword* words;
    std::size_t count;
    int fallback;
    void (*store)(TextureState&, int);
};

#define APPLY_LIST(words) words, sizeof(words) / sizeof(words[0])
const ApplyField kApplyFields[] = {
    {"Mode ", APPLY_LIST(kEnvModeWords), GL_REPLACE,
     [](TextureState& s, int v) { s.envMode = GLenum(v); }},
    {"Func.RGB ", APPLY_LIST(kCombineWords), GL_REPLACE,
     [](TextureState& s, int v) { s.combineRGB = GLenum(v); }},
    {"Func.Alpha ", APPLY_LIST(kCombineWords), GL_REPLACE,
     [](TextureState& s, int v) { s.combineAlpha = GLenum(v); }},
    {"Src0.RGB ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceRGB[0] = GLenum(v); }},
    {"Src1.RGB ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceRGB[1] = GLenum(v); }},
    {"Src2.RGB ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceRGB[2] = GLenum(v); }},
    {"Src0.Alpha ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceAlpha[0] = GLenum(v); }},
    {"Src1.Alpha ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceAlpha[1] = GLenum(v); }},
    {"Src2.Alpha ", APPLY_LIST(kSourceWords), GL_TEXTURE,
     [](TextureState& s, int v) { s.sourceAlpha[2] = GLenum(v); }},
    {"Op0.RGB ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandRGB[0] = GLenum(v); }},
    {"Op1.RGB ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandRGB[1] = GLenum(v); }},
    {"Op2.RGB ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandRGB[2] = GLenum(v); }},
    {"Op0.Alpha ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandAlpha[0] = GLenum(v); }},
    {"Op1.Alpha ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandAlpha[1] = GLenum(v); }},
    {"Op2.Alpha ", APPLY_LIST(kOperandWords), GL_SRC_COLOR,
     [](TextureState& s, int v) { s.operandAlpha[2] = GLenum(v); }},
    {"Scale.RGB ", APPLY_LIST(kScaleWords), 1, [](TextureState& s, int v) { s.scaleRGB = v; }},
    {"Scale.Alpha ", APPLY_LIST(kScaleWords), 1,
     [](TextureState& s, int v) { s.scaleAlpha = v; }},
};
#undef APPLY_LIST

// Wrap modes per code: S, T and R (0: R untouched).
struct WrapModes {
    GLenum s, t, r;
};
const WrapModes kWrapModes[] = {
    {GL_CLAMP, GL_CLAMP, 0},
    {GL_CLAMP, GL_CLAMP, GL_CLAMP},
    {GL_CLAMP, GL_REPEAT, 0},
    {GL_REPEAT, GL_CLAMP, 0},
    {GL_REPEAT, GL_REPEAT, 0},
    {GL_REPEAT, GL_REPEAT, GL_REPEAT},
    {GL_CLAMP_TO_BORDER_ARB, GL_CLAMP_TO_BORDER_ARB, 0},
    {GL_CLAMP_TO_BORDER_ARB, GL_CLAMP_TO_BORDER_ARB, GL_CLAMP_TO_BORDER_ARB},
    {GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, 0},
    {GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE},
};

// Border and edge clamping need their extensions; without them the texture clamps plainly.
GLenum supportedWrap(GLenum mode)
{
    if (mode == GL_CLAMP_TO_BORDER_ARB && !ext::gl_ARB_texture_border_clamp)
        return GL_CLAMP;
    if (mode == GL_CLAMP_TO_EDGE && !ext::gl_EXT_texture_edge_clamp)
        return GL_CLAMP;
    return mode;
}

bool isDot3(GLenum function)
{
    return function == GL_DOT3_RGB_ARB || function == GL_DOT3_RGBA_ARB;
}

const GLenum kGenCoords[] = {GL_S, GL_T, GL_R, GL_Q};
const GLenum kGenEnables[] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,
                              GL_TEXTURE_GEN_Q};

void disableGeneration()
{
    for (GLenum e : kGenEnables)
        glDisable(e);
}

// Linear generation of S and T with the four planes given for S, T, R and Q.
void linearGeneration(const TextureState& s, GLenum mode, GLenum planeName)
{
    const float* planes[] = {s.planeS, s.planeT, s.planeR, s.planeQ};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GLint(mode));
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GLint(mode));
    for (int i = 0; i < 4; ++i)
        glTexGenfv(kGenCoords[i], planeName, planes[i]);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

// S, T and R generated by a cube-map mode.
void cubeGeneration(GLenum mode)
{
    if (!ext::gl_ARB_texture_cube_map)
        return;
    for (int i = 0; i < 3; ++i) {
        glTexGeni(kGenCoords[i], GL_TEXTURE_GEN_MODE, GLint(mode));
        glEnable(kGenEnables[i]);
    }
}

} // namespace

void TextureState::applyParameters(GLenum target) const
{
    glTexParameterf(target, GL_TEXTURE_PRIORITY, priority);
    const WrapModes& modes = kWrapModes[wrap >= 0 && wrap <= kWrapEdge3 ? wrap : 0];
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GLint(supportedWrap(modes.s)));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GLint(supportedWrap(modes.t)));
    if (modes.r)
        glTexParameteri(target, GL_TEXTURE_WRAP_R, GLint(supportedWrap(modes.r)));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GLint(magFilter));
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
    glTexParameterfv(target, GL_TEXTURE_BORDER_COLOR, borderColour);
}

void TextureState::applyEnvironment(GLenum target) const
{
    switch (envMode) {
    case GL_ADD:
        if (ext::gl_ARB_texture_env_add)
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        else
            glDisable(target);
        break;
    case GL_BLEND:
    case GL_REPLACE:
    case GL_MODULATE:
    case GL_DECAL:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(envMode));
        break;
    case GL_COMBINE_ARB: {
        const bool usable = ext::gl_ARB_texture_env_combine &&
                            (ext::gl_ARB_texture_env_dot3 ||
                             (!isDot3(combineRGB) && !isDot3(combineAlpha)));
        if (!usable) {
            glDisable(target);
            break;
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GLint(combineRGB));
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GLint(combineAlpha));
        for (int i = 0; i < 3; ++i)
            glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB + i, GLint(sourceRGB[i]));
        for (int i = 0; i < 3; ++i)
            glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB + i, GLint(sourceAlpha[i]));
        for (int i = 0; i < 3; ++i)
            glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB + i, GLint(operandRGB[i]));
        for (int i = 0; i < 3; ++i)
            glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_ARB + i, GLint(operandAlpha[i]));
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, float(scaleRGB));
        // The alpha scale is kept with the RGB one: a script's Scale.Alpha takes effect.
        glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, float(scaleAlpha));
        break;
    }
    default:
        break;
    }
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColour);

    switch (texGen) {
    case kGenNone:
        disableGeneration();
        break;
    case kGenSphere:
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        break;
    case kGenObject:
        linearGeneration(*this, GL_OBJECT_LINEAR, GL_OBJECT_PLANE);
        break;
    case kGenEye:
        linearGeneration(*this, GL_EYE_LINEAR, GL_EYE_PLANE);
        break;
    case kGenReflectionMap:
        cubeGeneration(GL_REFLECTION_MAP_ARB);
        break;
    case kGenNormalMap:
        cubeGeneration(GL_NORMAL_MAP_ARB);
        break;
    default: // kGenIgnore: generation stays as it is
        break;
    }
}

void TextureState::restoreEnvironment(GLenum) const
{
    if (texGen >= kGenSphere && texGen <= kGenNormalMap)
        disableGeneration();
}

void TextureState::parse(ScriptReader& reader, std::istream& stream)
{
    for (;;) {
        // An unterminated block reads empty lines at the end and fails on them.
        reader.next(stream);
        int value = 0;
        if (reader.contains("Priority ")) {
            scanFloats(reader.line, priority);
        } else if (reader.contains("BorderColor ")) {
            scanFloats(reader.line, borderColour[0], borderColour[1], borderColour[2],
                       borderColour[3]);
        } else if (reader.contains("BlendColor ")) {
            scanFloats(reader.line, envColour[0], envColour[1], envColour[2], envColour[3]);
        } else if (reader.contains("Wrap ")) {
            if (lookup(valueWord(reader.line), kWrapWords, value))
                wrap = value;
        } else if (reader.contains("Filter ")) {
            if (lookup(valueWord(reader.line), kMagFilterWords, value))
                magFilter = GLenum(value);
        } else if (reader.contains("Mipmap ")) {
            if (lookup(valueWord(reader.line), kMinFilterWords, value))
                minFilter = GLenum(value);
        } else if (reader.contains("Apply {")) {
            parseApply(reader, stream);
        } else if (reader.contains("Envmap {")) {
            parseEnvmap(reader, stream);
        } else if (reader.contains("}")) {
            return;
        } else {
            throw reader.error("PARSE ERROR! Unknown State Token");
        }
    }
}

void TextureState::parseApply(ScriptReader& reader, std::istream& stream)
{
    for (;;) {
        // An unterminated block reads empty lines at the end and fails on them.
        reader.next(stream);
        const ApplyField* field = nullptr;
        for (const ApplyField& f : kApplyFields) {
            if (reader.contains(f.keyword)) {
                field = &f;
                break;
            }
        }
        if (field) {
            int value = field->fallback;
            lookup(valueWord(reader.line), field->words, field->count, value);
            field->store(*this, value);
        } else if (reader.contains("}")) {
            return;
        } else {
            throw reader.error("PARSE ERROR! Unknown Apply Token");
        }
    }
}

void TextureState::parseEnvmap(ScriptReader& reader, std::istream& stream)
{
    for (;;) {
        // An unterminated block reads empty lines at the end and fails on them.
        reader.next(stream);
        int value = 0;
        if (reader.contains("Mode ")) {
            if (lookup(valueWord(reader.line), kTexGenWords, value))
                texGen = value;
        } else if (reader.contains("PlaneS ")) {
            scanFloats(reader.line, planeS[0], planeS[1], planeS[2], planeS[3]);
        } else if (reader.contains("PlaneT ")) {
            scanFloats(reader.line, planeT[0], planeT[1], planeT[2], planeT[3]);
        } else if (reader.contains("}")) {
            return;
        } else {
            throw reader.error("PARSE ERROR! Unknown Envmap Token");
        }
    }
}

TextureState parseTextureState(ScriptReader& reader, std::istream& stream)
{
    TextureState state;
    state.parse(reader, stream);
    return state;
}
