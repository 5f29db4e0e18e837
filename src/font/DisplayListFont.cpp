#include "font/DisplayListFont.h"

DisplayListFont::DisplayListFont(std::string name, GLuint listBase,
                                 const std::array<GlyphMetrics, 256>& metrics)
    : name(std::move(name)), listBase(listBase), metrics(metrics)
{
}

DisplayListFont::~DisplayListFont()
{
    if (listBase != 0)
        glDeleteLists(listBase, 256);
}

void DisplayListFont::drawText(const std::string& text) const
{
    if (text.empty())
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
}

float DisplayListFont::textWidth(const std::string& text) const
{
    float width = 0.0f;
    for (unsigned char c : text)
        width += metrics[c].cellIncrementX;
    return width;
}
