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

TEST_F(PBufferGL, SampledTargetResolvesSmoothEdgesIntoItsTextureAndKeepsItsPicture)
{
    // A triangle with a tilted edge drawn into the target, then the texture copied 1:1 to the
    // screen: with samples the edge has in-between values, without it has none.
    auto edgeValues = [](PBuffer& buffer, bool clear) {
        EXPECT_TRUE(buffer.beginRender(64, 64));
        glClearColor(0, 0, 0, 1);
        if (clear)
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 64, 0, 64, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 1, 1);
        if (clear) {
            glBegin(GL_TRIANGLES);
            glVertex2f(0, 0); glVertex2f(64, 0); glVertex2f(0, 41);
            glEnd();
        }
        EXPECT_TRUE(buffer.endRender(640, 480));
        glViewport(0, 0, 64, 64);
        glClear(GL_COLOR_BUFFER_BIT);
        buffer.bindTexture(GL_TEXTURE0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        quad(0, 0, 64, 64);
        buffer.releaseTexture(GL_TEXTURE0);
        int between = 0, lit = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const int r = testgl::readPixel(x, y).r;
                between += r > 8 && r < 247;
                lit += r >= 247;
            }
        glViewport(0, 0, 640, 480);
        return std::pair<int, int>(between, lit);
    };
    std::unique_ptr<PBuffer> plain(createPBuffer()), sampled(createPBuffer());
    ASSERT_TRUE(plain->create(64, 64, 0));
    EXPECT_EQ(plain->samples(), 0);
    ASSERT_TRUE(sampled->create(64, 64, 64)); // more than any driver has: clamped
    if (maxFramebufferSamples() < 2)
        GTEST_SKIP() << "the driver has no multisampled render targets";
    EXPECT_GE(sampled->samples(), 2);
    EXPECT_LE(sampled->samples(), maxFramebufferSamples());

    const auto hard = edgeValues(*plain, true);
    const auto smooth = edgeValues(*sampled, true);
    EXPECT_EQ(hard.first, 0);
    EXPECT_GT(smooth.first, 30);
    EXPECT_NEAR(smooth.second, hard.second, 80);
    // Drawing on without a clear (a feedback scene) finds the last picture in the samples.
    const auto kept = edgeValues(*sampled, false);
    EXPECT_EQ(kept, smooth);
    // Re-creating keeps the sample count; destroy drops it.
    ASSERT_TRUE(sampled->create(32, 32, sampled->samples()));
    EXPECT_GE(sampled->samples(), 2);
    EXPECT_TRUE(sampled->destroy());
    EXPECT_EQ(sampled->samples(), 0);
}

TEST(RenderTargetSize, FollowsTheOutputLinesInPowerOfTwoSteps)
{
    EXPECT_EQ(renderTargetSize(200, 8192), 512);
    EXPECT_EQ(renderTargetSize(480, 8192), 512);
    EXPECT_EQ(renderTargetSize(481, 8192), 1024);
    EXPECT_EQ(renderTargetSize(720, 8192), 1024);
    EXPECT_EQ(renderTargetSize(960, 8192), 1024);
    EXPECT_EQ(renderTargetSize(1080, 8192), 2048);
    EXPECT_EQ(renderTargetSize(2160, 8192), 2048);
    // The driver's limit wins.
    EXPECT_EQ(renderTargetSize(1080, 1024), 1024);
    EXPECT_EQ(renderTargetSize(480, 300), 256);
}
