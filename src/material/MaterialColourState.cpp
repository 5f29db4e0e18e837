#include "material/MaterialColourState.h"

#include "material/BlockReader.h"

#include <algorithm>

void MaterialColourState::read(ScriptReader& reader, std::istream& stream)
{
    const std::string& line = reader.line;
    readBlock(reader, stream,
              {
                  {"Enable ", [&] { enabled = isYes(line); }},
                  {"Ambient ", [&] { scanColour(line, ambient); }},
                  {"Diffuse ", [&] { scanColour(line, diffuse); }},
                  {"Specular ", [&] { scanColour(line, specular); }},
                  {"Emission ", [&] { scanColour(line, emission); }},
                  {"Shininess ", [&] { scanFloats(line, shininess); }},
              },
              "PARSE ERROR! Unknown Material Token");
}

void MaterialColourState::apply()
{
    if (!enabled) {
        glEnable(GL_COLOR_MATERIAL);
        glColor4fv(diffuse);
        return;
    }
    glDisable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    // GL takes exponents from 0 to 128 only; outside them it errs and keeps the old one.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess > 0.0f ? std::min(shininess, 128.0f) : 0.0f);
}

void MaterialColourState::restore()
{
    if (enabled)
        glEnable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, 1);
}
