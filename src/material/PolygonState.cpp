#include "material/PolygonState.h"

#include "material/BlockReader.h"

namespace {
constexpr GLWord kModes[] = {{"POINT", GL_POINT}, {"LINE", GL_LINE}, {"FILL", GL_FILL}};
constexpr GLWord kFaces[] = {
    {"FRONT_AND_BACK", GL_FRONT_AND_BACK},
    {"FRONT", GL_FRONT},
    {"BACK", GL_BACK},
};
} // namespace

void PolygonState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Mode ",
                   [&] {
                       if (!setFromWords(line, kModes, mode))
                           throw reader.error("PARSE ERROR! Unknown Polygon Mode type");
                   }},
                  {"Face ",
                   [&] {
                       if (!setFromWords(line, kFaces, face))
                           throw reader.error("PARSE ERROR! Unknown Polygon Face type");
                   }},
              },
              "PARSE ERROR! Unknown Polygon Token");
}

void PolygonState::apply()
{
    if (enabled)
        glPolygonMode(face, mode);
}

void PolygonState::restore()
{
    if (enabled)
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
