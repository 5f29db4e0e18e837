#include "material/FogState.h"

#include "material/BlockReader.h"

namespace {
constexpr GLWord kModes[] = {{"LINEAR", GL_LINEAR}, {"EXPSQR", GL_EXP2}, {"EXP", GL_EXP}};
constexpr GLWord kHints[] = {{"PER_VERTEX", GL_FASTEST}, {"PER_PIXEL", GL_NICEST}};
} // namespace

void FogState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Start ", [&] { scanFloats(line, start); }},
                  {"End ", [&] { scanFloats(line, end); }},
                  {"Density ", [&] { scanFloats(line, density); }},
                  {"Color ", [&] { scanColour(line, colour); }},
                  {"Function ", [&] { setFromWords(line, kModes, mode); }},
                  {"Apply ", [&] { setFromWords(line, kHints, hint); }},
              },
              "PARSE ERROR! Unknown Fog Token");
}

void FogState::apply()
{
    if (!enabled) {
        glDisable(GL_FOG);
        return;
    }
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GLint(mode));
    // GL refuses a negative density with an error and keeps the old one; none (and NaN) is 0.
    glFogf(GL_FOG_DENSITY, density > 0.0f ? density : 0.0f);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glFogfv(GL_FOG_COLOR, colour);
    glHint(GL_FOG_HINT, hint);
}

void FogState::restore()
{
    if (enabled)
        glDisable(GL_FOG);
}
