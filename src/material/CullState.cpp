#include "material/CullState.h"

#include "material/BlockReader.h"

namespace {
constexpr GLWord kFaces[] = {
    {"FRONT_AND_BACK", GL_FRONT_AND_BACK},
    {"BACK", GL_BACK},
    {"FRONT", GL_FRONT},
};
constexpr GLWord kWindings[] = {{"CCW", GL_CCW}, {"CW", GL_CW}};
} // namespace

void CullState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"TwoSided ", [&] { twoSided = isYes(line); }},
                  {"Function ", [&] { setFromWords(line, kFaces, face); }},
                  {"Winding ", [&] { setFromWords(line, kWindings, winding); }},
              },
              "PARSE ERROR! Unknown Cull Token");
}

void CullState::apply()
{
    if (enabled) {
        glEnable(GL_CULL_FACE);
        glFrontFace(winding);
        glCullFace(face);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (twoSided)
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
}

void CullState::restore()
{
    if (!enabled)
        glEnable(GL_CULL_FACE);
    if (twoSided)
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    if (winding != GL_CCW)
        glFrontFace(GL_CCW);
    if (face != GL_BACK)
        glCullFace(GL_BACK);
}
