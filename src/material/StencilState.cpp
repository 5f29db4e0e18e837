#include "material/StencilState.h"

#include "material/BlockReader.h"

namespace {
constexpr GLWord kOperations[] = {
    {"KEEP", GL_KEEP},
    {"ZERO", GL_ZERO},
    {"REPLACE", GL_REPLACE},
    {"INCR_WRAP", GL_INCR_WRAP_EXT},
    {"DECR_WRAP", GL_DECR_WRAP_EXT},
    {"INCR", GL_INCR},
    {"DECR", GL_DECR},
    {"INVERT", GL_INVERT},
};
} // namespace

void StencilState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Function ", [&] { setFromWords(line, compareWords(), function); }},
                  {"Reference ", [&] { scanInts(line, reference); }},
                  {"WriteMask ", [&] { scanInts(line, writeMask); }},
                  {"Mask ", [&] { scanInts(line, mask); }},
                  {"ZFail ", [&] { setFromWords(line, kOperations, depthFailOp); }},
                  {"Fail ", [&] { setFromWords(line, kOperations, failOp); }},
                  {"ZPass ", [&] { setFromWords(line, kOperations, depthPassOp); }},
              },
              "PARSE ERROR! Unknown Stencil Token");
}

void StencilState::apply()
{
    if (!enabled) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    glEnable(GL_STENCIL_TEST);
    glStencilOp(failOp, depthFailOp, depthPassOp);
    glStencilFunc(function, reference, GLuint(mask));
}

void StencilState::restore()
{
    if (enabled)
        glDisable(GL_STENCIL_TEST);
}
