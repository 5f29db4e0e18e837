#include "font/ConsoleFont.h"

#include "core/GL.h"
#include "core/ScreenSpace.h"
#include "font/DisplayListFont.h"
#include "texture/TextureManager.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

ConsoleFont* ConsoleFont::instance = nullptr;

ConsoleFont::ConsoleFont() { instance = this; }

ConsoleFont::~ConsoleFont()
{
    release();
    if (instance == this)
        instance = nullptr;
}

bool ConsoleFont::load()
{
    if (texture_)
        return true;
    if (!TextureManager::instance)
        return false;
    texture_ = TextureManager::instance->find("confont");
    return texture_ != nullptr;
}

void ConsoleFont::release()
{
    if (texture_ && TextureManager::instance)
        TextureManager::instance->release(texture_);
    texture_ = nullptr;
}

void ConsoleFont::begin2D()
{
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    screen::push(-1.0, 1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    if (texture_)
        texture_->bind(GL_TEXTURE0_ARB);
}

void ConsoleFont::end2D()
{
    if (texture_)
        texture_->unbind(GL_TEXTURE0_ARB);
    glDepthMask(GL_TRUE);
    screen::pop();
    glPopAttrib();
}

ConsoleFont::Cell ConsoleFont::cell(char character)
{
    // The character as a signed byte, so codes above 127 fall below the grid as well.
    const int index = static_cast<signed char>(character) - 33;
    const int column = index % 16;
    const int row = index / 16;
    Cell c;
    c.s0 = column * 16 / 256.0f;
    c.s1 = std::min(c.s0 + 16 / 256.0f, 1.0f);
    c.t0 = row * 24 / 256.0f;
    c.t1 = c.t0 + 24 / 256.0f;
    return c;
}

void ConsoleFont::drawGlyph(float x, float y, char character) const
{
    const Cell c = cell(character);
    glBegin(GL_QUADS);
    glTexCoord2f(c.s0, c.t0);
    glVertex2f(x, y + kGlyphHeight);
    glTexCoord2f(c.s0, c.t1);
    glVertex2f(x, y);
    glTexCoord2f(c.s1, c.t1);
    glVertex2f(x + kGlyphWidth, y);
    glTexCoord2f(c.s1, c.t0);
    glVertex2f(x + kGlyphWidth, y + kGlyphHeight);
    glEnd();
}

void ConsoleFont::print(float x, float y, const char* text) const
{
    // Without the font texture the glyphs would be solid blocks: draw nothing instead.
    if (!texture_)
        return;
    for (int i = 0; text[i] != '\0'; ++i)
        drawGlyph(x + kAdvance * i, y, text[i]);
}

void ConsoleFont::printAt(float x, float y, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer_.data(), buffer_.size(), format, args);
    va_end(args);
    print(x, y, buffer_.data());
}

std::unique_ptr<DisplayListFont> ConsoleFont::makeListFont(const std::string& name) const
{
    if (!texture_)
        return nullptr;
    // The texture is uploaded now: an upload compiled into a list would never reach GL.
    if (!texture_->bind(GL_TEXTURE0_ARB))
        return nullptr;
    texture_->unbind(GL_TEXTURE0_ARB);
    const GLuint base = glGenLists(256);
    if (base == 0)
        return nullptr;
    const float width = kGlyphWidth / kAdvance, height = kGlyphHeight / kAdvance;
    std::array<DisplayListFont::GlyphMetrics, 256> metrics{};
    for (int code = 0; code < 256; ++code) {
        const char character = static_cast<char>(code);
        const bool inGrid = code >= 33 && code < 128;
        DisplayListFont::GlyphMetrics& m = metrics[std::size_t(code)];
        m.cellIncrementX = 1.0f;
        m.cellIncrementY = height;
        glNewList(base + GLuint(code), GL_COMPILE);
        if (inGrid) {
            m.blackBoxWidth = width;
            m.blackBoxHeight = height;
            glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
            glDisable(GL_LIGHTING);
            glDisable(GL_CULL_FACE);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDepthMask(GL_FALSE);
            texture_->bind(GL_TEXTURE0_ARB);
            const Cell c = cell(character);
            glBegin(GL_QUADS);
            glTexCoord2f(c.s0, c.t1);
            glVertex2f(0.0f, 0.0f);
            glTexCoord2f(c.s1, c.t1);
            glVertex2f(width, 0.0f);
            glTexCoord2f(c.s1, c.t0);
            glVertex2f(width, height);
            glTexCoord2f(c.s0, c.t0);
            glVertex2f(0.0f, height);
            glEnd();
            texture_->unbind(GL_TEXTURE0_ARB);
            glPopAttrib();
        }
        glTranslatef(1.0f, 0.0f, 0.0f);
        glEndList();
    }
    return std::make_unique<DisplayListFont>(name, base, metrics);
}
