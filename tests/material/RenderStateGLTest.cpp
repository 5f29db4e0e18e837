#include "MaterialTestSupport.h"

#include "core/ExtensionRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

GLint integer(GLenum name)
{
    GLint v[4] = {};
    glGetIntegerv(name, v);
    return v[0];
}

using RenderStateGL = MaterialGLTest;

// Each block changes the GL state while bound, and unbinding returns to the resting state.
TEST_F(RenderStateGL, EveryStateIsInForceWhileBoundAndAtRestAfterUnbind)
{
    struct Case {
        const char* block;
        std::function<void()> whileBound;
    };
    const std::vector<Case> cases = {
        // No NOTEQUAL in the Alpha block: the line contains "EQUAL".
        {"Alpha {\nEnable yes\nFunction NOTEQUAL\nReference 0.3\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
             EXPECT_EQ(integer(GL_ALPHA_TEST_FUNC), GL_EQUAL);
         }},
        {"Blend {\nEnable yes\nLighting no\nSrc ONE_MINUS_SRC_ALPHA\n"
         "Dst ONE_MINUS_CONSTANT_COLOR\nSrc.Alpha ONE\nDst.Alpha ZERO\n"
         "BlendEquation REVERSE_SUBTRACT\nBlendColor 1 0 0 1\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_BLEND));
             EXPECT_EQ(integer(GL_BLEND_SRC_RGB_EXT), GL_ONE_MINUS_SRC_ALPHA);
             EXPECT_EQ(integer(GL_BLEND_DST_RGB_EXT), GL_ONE_MINUS_CONSTANT_COLOR);
             EXPECT_EQ(integer(GL_BLEND_SRC_ALPHA_EXT), GL_ONE);
             EXPECT_EQ(integer(GL_BLEND_DST_ALPHA_EXT), GL_ZERO);
             EXPECT_EQ(integer(GL_BLEND_EQUATION_EXT), GL_FUNC_REVERSE_SUBTRACT_EXT);
             GLfloat c[4];
             glGetFloatv(GL_BLEND_COLOR_EXT, c);
             EXPECT_EQ(c[0], 1.0f);
         }},
        {"Blend {\nEnable yes\nSrc.RGB SRC_ALPHA\nSrc.Alpha NOTHING\n}\nBlend {\nEnable yes\n"
         "Src DST_COLOR\nDst ZERO\nBlendEquation MAX\n}",
         [] { // the second block is in force; unknown words change nothing
             EXPECT_EQ(integer(GL_BLEND_SRC_RGB_EXT), GL_DST_COLOR);
             EXPECT_EQ(integer(GL_BLEND_SRC_ALPHA_EXT), GL_DST_COLOR);
             EXPECT_EQ(integer(GL_BLEND_DST_RGB_EXT), GL_ZERO);
         }},
        {"Cull {\nEnable no\nTwoSided yes\nFunction FRONT\nWinding CW\n}",
         [] {
             EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
             EXPECT_EQ(integer(GL_LIGHT_MODEL_TWO_SIDE), 1);
         }},
        {"Cull {\nFunction FRONT\nWinding CW\n}",
         [] {
             EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT);
             EXPECT_EQ(integer(GL_FRONT_FACE), GL_CW);
         }},
        {"Fog {\nEnable yes\nFunction EXPSQR\nEnd 9\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_FOG));
             EXPECT_EQ(integer(GL_FOG_MODE), GL_EXP2);
             EXPECT_EQ(integer(GL_FOG_END), 9);
         }},
        // GL refuses a negative density (and a shininess outside 0..128) and keeps the old
        // value: the nearest allowed one is set instead, without a GL error.
        {"Fog {\nEnable yes\nDensity -2\n}",
         [] {
             GLfloat density = -1.0f;
             glGetFloatv(GL_FOG_DENSITY, &density);
             EXPECT_EQ(density, 0.0f);
         }},
        {"Stencil {\nEnable yes\nFunction NOTEQUAL\nMask 255\nWriteMask 0\nZFail INCR_WRAP\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
             EXPECT_EQ(integer(GL_STENCIL_FUNC), GL_NOTEQUAL);
             EXPECT_EQ(integer(GL_STENCIL_VALUE_MASK), 255);
             EXPECT_EQ(integer(GL_STENCIL_PASS_DEPTH_FAIL), GL_INCR_WRAP_EXT);
             EXPECT_EQ(integer(GL_STENCIL_FAIL), GL_ZERO);
             EXPECT_EQ(integer(GL_STENCIL_WRITEMASK) & 255, 255) << "WriteMask is only kept";
         }},
        {"ZBuffer {\nWrite no\nFunction GREATER\n}",
         [] {
             EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "without Enable yes the test is off";
             EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
         }},
        {"ZBuffer {\nEnable yes\nFunction ALWAYS\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
             EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_ALWAYS);
         }},
        {"Material {\nEnable yes\nAmbient 0.1 0.2 0.3 1.0\nShininess 12\n}",
         [] {
             EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
             GLfloat a[4];
             glGetMaterialfv(GL_FRONT, GL_AMBIENT, a);
             EXPECT_FLOAT_EQ(a[0], 0.1f);
             EXPECT_FLOAT_EQ(a[1], 0.2f);
             EXPECT_FLOAT_EQ(a[2], 0.3f);
             EXPECT_FLOAT_EQ(a[3], 1.0f);
             glGetMaterialfv(GL_BACK, GL_SHININESS, a);
             EXPECT_FLOAT_EQ(a[0], 12.0f);
         }},
        {"Material {\nEnable yes\nShininess 1000\n}",
         [] {
             GLfloat shininess = 0.0f;
             glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
             EXPECT_EQ(shininess, 128.0f);
         }},
        {"Material {\nDiffuse 1 0 0 0.5\n}",
         [] {
             EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
             GLfloat c[4];
             glGetFloatv(GL_CURRENT_COLOR, c);
             EXPECT_EQ(c[1], 0.0f);
             EXPECT_EQ(c[3], 0.5f);
         }},
        {"Polygon {\nEnable yes\nMode LINE\nFace FRONT\n}",
         [] {
             GLint mode[2];
             glGetIntegerv(GL_POLYGON_MODE, mode);
             EXPECT_EQ(mode[0], GL_LINE);
             EXPECT_EQ(mode[1], GL_FILL);
         }},
        {"Fragment {\nEnable yes\nName \"f\"\n}",
         [] {
             if (ext::gl_ATI_fragment_shader) {
                 EXPECT_TRUE(glIsEnabled(GL_FRAGMENT_SHADER_ATI));
             }
         }},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const std::string name = "m" + std::to_string(index++);
        Material* m = load("Shader {\nName \"" + name + "\"\n" + c.block + "\n}\n", name);
        ASSERT_NE(m, nullptr);
        m->bind();
        c.whileBound();
        m->unbind();
        mattest::expectRestingState();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        library.release(m);
    }
}

TEST_F(RenderStateGL, LightingSwitchGivesBackWhatWasThere)
{
    Material* m = load("Shader {\nName \"m\"\nBlend {\nEnable yes\nLighting no\n}\n}\n", "m");
    ASSERT_NE(m, nullptr);
    m->bind();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    m->unbind();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "2D drawing stays unlit";

    glEnable(GL_LIGHTING); // a lit scene
    m->bind();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    m->unbind();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    library.release(m);
}

TEST_F(RenderStateGL, AdditiveBlendAddsColours)
{
    Material* m = load("Shader {\nName \"add\"\nBlend {\nEnable yes\n}\n}\n", "add");
    ASSERT_NE(m, nullptr);
    glColor3f(0.5f, 0.0f, 0.0f);
    mattest::drawQuad(0, 0, 100, 100);
    m->bind();
    glColor3f(0.25f, 1.0f, 0.0f);
    mattest::drawQuad(0, 0, 100, 100);
    m->unbind();
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 191, 255, 0, 2);
    // Unbound again: the next quad replaces instead of adding.
    glColor3f(0.0f, 0.0f, 1.0f);
    mattest::drawQuad(0, 0, 100, 100);
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 0, 0, 255, 1);
    library.release(m);
}

TEST_F(RenderStateGL, AlphaTestPassesAtOrAboveTheReference)
{
    Material* m = load("Shader {\nName \"cut\"\nAlpha {\nEnable yes\nFunction GEQUAL\n"
                       "Reference 0.5\n}\n}\n",
                       "cut");
    ASSERT_NE(m, nullptr);
    m->bind();
    glColor4f(1, 1, 1, 0.4f);
    mattest::drawQuad(0, 0, 100, 100);
    glColor4f(1, 1, 1, 0.6f);
    mattest::drawQuad(100, 0, 200, 100);
    m->unbind();
    glColor4f(1, 1, 1, 1);
    EXPECT_PIXEL_NEAR(testgl::readPixel(50, 50), 0, 0, 0, 1);
    EXPECT_PIXEL_NEAR(testgl::readPixel(150, 50), 255, 255, 255, 1);
    mattest::expectRestingState();
    library.release(m);
}

} // namespace
