// The render target round trip: draw into it, bind its image, draw that on screen, read back.
#include "core/ExtensionRegistry.h"
#include "core/PBuffer.h"
#include "GLFixture.h"

#include <memory>

namespace {
void quad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(x0, y0);
    glTexCoord2f(1, 0); glVertex2f(x1, y0);
    glTexCoord2f(1, 1); glVertex2f(x1, y1);
    glTexCoord2f(0, 1); glVertex2f(x0, y1);
    glEnd();
}
} // namespace

class PBufferGL : public GLTest {};

TEST_F(PBufferGL, RenderedImageIsBoundAsTextureWithoutCopy)
{
    std::unique_ptr<PBuffer> buffer(createPBuffer());
    ASSERT_TRUE(buffer);
    EXPECT_FALSE(buffer->beginRender(512, 512)); // not created yet
    ASSERT_TRUE(buffer->create(512, 512));

    ASSERT_TRUE(buffer->beginRender(512, 512));
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 512, 0, 512, -1, 1);
    glColor3f(1, 0, 0);
    quad(0, 0, 256, 512); // left half red, right half blue
    ASSERT_TRUE(buffer->endRender(640, 480));

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    ASSERT_TRUE(buffer->bindTexture(GL_TEXTURE0));
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP);
    glColor3f(1, 1, 1);
    quad(0, 0, 640, 480);
    ASSERT_TRUE(buffer->releaseTexture(GL_TEXTURE0));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    EXPECT_PIXEL_NEAR(testgl::readPixel(100, 240), 255, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(540, 240), 0, 0, 255, 2);

    // Back to a wide window, drawing goes into its centred 4:3 part.
    ASSERT_TRUE(buffer->beginRender(512, 512));
    ASSERT_TRUE(buffer->endRender(1280, 720));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 160);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 960);
    EXPECT_EQ(viewport[3], 720);
    glViewport(0, 0, 640, 480);

    // Re-creating replaces the old objects; destroy leaves nothing bound.
    ASSERT_TRUE(buffer->create(512, 512));
    EXPECT_TRUE(buffer->destroy());
    EXPECT_EQ(buffer->textureName(), GLuint(-1));
}
