// Effects read from a script and drawn through a timeline on the headless context, with
// pictures registered in a texture manager of the test's own.
#pragma once
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "font/DisplayListFont.h"
#include "font/FontRegistry.h"
#include "texture/TextureManager.h"
#include "GLFixture.h"

#include <array>
#include <memory>
#include <sstream>
#include <string>

class EffectRenderTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override
    {
        timeline.clear();
        GLTest::TearDown();
    }

    void load(const std::string& script)
    {
        std::istringstream stream(script);
        ASSERT_TRUE(loader.load(stream, "render.effect"));
        timeline.prepareAll();
    }
    // One frame at show time `t` over a background colour.
    void frame(float t, float r = 0, float g = 0, float b = 0)
    {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
        timeline.update(t);
        timeline.renderAll();
    }
    // An RGBA texture of w x h texels (row 0 first) with nearest sampling, registered by name.
    ImageTexture* addTexture(const std::string& name, int w, int h,
                             std::uint32_t (*texel)(int x, int y))
    {
        auto* t = new ImageTexture;
        t->name = name;
        t->allocateImage(w, h, 9);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                t->setPixel(texel(x, y), x, y);
        t->state.minFilter = GL_NEAREST;
        t->state.magFilter = GL_NEAREST;
        EXPECT_TRUE(textures.add(t));
        return t;
    }

    // A font named "Squares" in `fonts`: every character a 10 x 10 square, then 15 units to the
    // right, with the winding switched to clockwise.
    void addSquareFont(FontRegistry& fonts)
    {
        const GLuint base = glGenLists(256);
        for (int c = 0; c < 256; ++c) {
            glNewList(base + GLuint(c), GL_COMPILE);
            glFrontFace(GL_CW);
            glBegin(GL_QUADS);
            glVertex2f(0, 0);
            glVertex2f(10, 0);
            glVertex2f(10, 10);
            glVertex2f(0, 10);
            glEnd();
            glTranslatef(15, 0, 0);
            glEndList();
        }
        fonts.add(std::make_unique<DisplayListFont>("Squares", base, std::array<DisplayListFont::GlyphMetrics, 256>{}));
    }

    TextureManager textures;
    EffectTimeline timeline;
    EffectLoader loader{&timeline};
};
