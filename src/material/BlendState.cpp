#include "material/BlendState.h"

#include "material/BlockReader.h"
#include "core/ExtensionRegistry.h"

namespace {
// Longer words before the words they contain (ONE_MINUS_SRC_ALPHA before SRC_ALPHA, ...).
constexpr GLWord kSourceFactors[] = {
    {"ZERO", GL_ZERO},
    {"ONE_MINUS_DST_COLOR", GL_ONE_MINUS_DST_COLOR},
    {"ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA},
    {"ONE_MINUS_DST_ALPHA", GL_ONE_MINUS_DST_ALPHA},
    {"SRC_ALPHA_SATURATE", GL_SRC_ALPHA_SATURATE},
    {"SRC_ALPHA", GL_SRC_ALPHA},
    {"DST_ALPHA", GL_DST_ALPHA},
    {"DST_COLOR", GL_DST_COLOR},
    {"ONE_MINUS_CONSTANT_COLOR", GL_ONE_MINUS_CONSTANT_COLOR},
    {"ONE_MINUS_CONSTANT_ALPHA", GL_ONE_MINUS_CONSTANT_ALPHA},
    {"ONE", GL_ONE},
    {"CONSTANT_COLOR", GL_CONSTANT_COLOR},
    {"CONSTANT_ALPHA", GL_CONSTANT_ALPHA},
};
constexpr GLWord kDestinationFactors[] = {
    {"ZERO", GL_ZERO},
    {"ONE_MINUS_SRC_COLOR", GL_ONE_MINUS_SRC_COLOR},
    {"ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA},
    {"ONE_MINUS_DST_ALPHA", GL_ONE_MINUS_DST_ALPHA},
    {"SRC_COLOR", GL_SRC_COLOR},
    {"SRC_ALPHA", GL_SRC_ALPHA},
    {"DST_ALPHA", GL_DST_ALPHA},
    {"ONE_MINUS_CONSTANT_COLOR", GL_ONE_MINUS_CONSTANT_COLOR},
    {"ONE_MINUS_CONSTANT_ALPHA", GL_ONE_MINUS_CONSTANT_ALPHA},
    {"ONE", GL_ONE},
    {"CONSTANT_COLOR", GL_CONSTANT_COLOR},
    {"CONSTANT_ALPHA", GL_CONSTANT_ALPHA},
};
constexpr GLWord kEquations[] = {
    {"ADD", GL_FUNC_ADD_EXT},
    {"REVERSE_SUBTRACT", GL_FUNC_REVERSE_SUBTRACT_EXT},
    {"SUBTRACT", GL_FUNC_SUBTRACT_EXT},
};

bool canSetEquation() { return ext::gl_EXT_blend_minmax && ext::glBlendEquationEXT; }
} // namespace

void BlendState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    auto source = [&] { setFromWords(line, kSourceFactors, srcRGB); };
    auto destination = [&] { setFromWords(line, kDestinationFactors, dstRGB); };
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Lighting ", [&] { lighting = isYes(line); }},
                  {"Src ", source},
                  {"Src.RGB ", source},
                  {"Dst ", destination},
                  {"Dst.RGB ", destination},
                  {"Src.Alpha ",
                   [&] { separate = setFromWords(line, kSourceFactors, srcAlpha) || separate; }},
                  {"Dst.Alpha ",
                   [&] { separate = setFromWords(line, kDestinationFactors, dstAlpha) || separate; }},
                  {"BlendColor ", [&] { scanColour(line, colour); }},
                  {"BlendEquation ",
                   [&] {
                       const GLWord* w = findWord(line, kEquations);
                       equation = w ? w->value : 0;
                   }},
              },
              "PARSE ERROR! Unknown Blend Token");
}

void BlendState::apply()
{
    if (!enabled) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    if (equation != 0 && canSetEquation())
        ext::glBlendEquationEXT(equation);
    if (separate && ext::gl_EXT_blend_func_separate && ext::glBlendFuncSeparateEXT)
        ext::glBlendFuncSeparateEXT(srcRGB, dstRGB, srcAlpha, dstAlpha);
    else
        glBlendFunc(srcRGB, dstRGB);
    if (ext::gl_EXT_blend_color && ext::glBlendColorEXT)
        ext::glBlendColorEXT(colour[0], colour[1], colour[2], colour[3]);
    if (!lighting) {
        lightingWasOn = glIsEnabled(GL_LIGHTING);
        glDisable(GL_LIGHTING);
    }
}

void BlendState::restore()
{
    if (!enabled) {
        glDisable(GL_BLEND);
        return;
    }
    if (equation != 0 && canSetEquation())
        ext::glBlendEquationEXT(GL_FUNC_ADD_EXT);
    glDisable(GL_BLEND);
    if (!lighting && lightingWasOn)
        glEnable(GL_LIGHTING);
}
