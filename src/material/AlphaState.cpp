#include "material/AlphaState.h"

#include "material/BlockReader.h"

namespace {
// No NOTEQUAL here: a line naming it contains "EQUAL" and so selects GL_EQUAL.
constexpr GLWord kFunctions[] = {
    {"NEVER", GL_NEVER}, {"LESS", GL_LESS},       {"LEQUAL", GL_LEQUAL}, {"GEQUAL", GL_GEQUAL},
    {"EQUAL", GL_EQUAL}, {"GREATER", GL_GREATER}, {"ALWAYS", GL_ALWAYS},
};
} // namespace

void AlphaState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Function ", [&] { setFromWords(line, kFunctions, function); }},
                  {"Reference ", [&] { scanFloats(line, reference); }},
              },
              "PARSE ERROR! Unknown Alpha Token");
}

void AlphaState::apply()
{
    if (enabled) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(function, reference);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
}

void AlphaState::restore()
{
    if (enabled)
        glDisable(GL_ALPHA_TEST);
}
