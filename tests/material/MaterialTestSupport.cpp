#include "MaterialTestSupport.h"

#include "core/ExtensionRegistry.h"
#include "core/RestingGLState.h"

namespace mattest {

void setRestingState()
{
    applyRestingGLState();
    // What earlier tests on the shared context may have left behind.
    glDepthMask(GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glDisable(GL_FOG);
    glDisable(GL_STENCIL_TEST);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

namespace {
GLint integer(GLenum name)
{
    GLint v[4] = {};
    glGetIntegerv(name, v);
    return v[0];
}
} // namespace

void expectRestingState()
{
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(integer(GL_LIGHT_MODEL_TWO_SIDE), 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_EQUATION_EXT), GL_FUNC_ADD_EXT);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    GLint polygon[2];
    glGetIntegerv(GL_POLYGON_MODE, polygon);
    EXPECT_EQ(polygon[0], GL_FILL);
    EXPECT_EQ(polygon[1], GL_FILL);
    if (ext::gl_ATI_fragment_shader) {
        EXPECT_FALSE(glIsEnabled(GL_FRAGMENT_SHADER_ATI));
    }
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    for (int unit = 0; unit < 4; ++unit) {
        SCOPED_TRACE("texture unit " + std::to_string(unit));
        ext::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
        GLfloat m[16];
        glGetFloatv(GL_TEXTURE_MATRIX, m);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << "texture matrix element " << i;
    }
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
}

void drawQuad(float x0, float y0, float x1, float y1)
{
    const float corners[4][4] = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[2], c[3]);
        ext::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c[2], c[3]);
        glVertex2f(c[0], c[1]);
    }
    glEnd();
}

} // namespace mattest
