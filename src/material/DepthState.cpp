#include "material/DepthState.h"

#include "material/BlockReader.h"

void DepthState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Write ", [&] { write = isYes(line); }},
                  {"Function ", [&] { setFromWords(line, compareWords(), function); }},
              },
              "PARSE ERROR! Unknown ZBuffer Token");
}

void DepthState::apply()
{
    if (enabled) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(function);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(write ? GL_TRUE : GL_FALSE);
}

void DepthState::restore()
{
    if (!enabled)
        glEnable(GL_DEPTH_TEST);
    if (function != GL_LEQUAL)
        glDepthFunc(GL_LEQUAL);
    if (!write)
        glDepthMask(GL_TRUE);
}
