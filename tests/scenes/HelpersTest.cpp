// The scenes' drawing helpers: the distortion grid's coordinates and pixels, the render pass.
#include "core/ExtensionRegistry.h"
#include "core/PBuffer.h"
#include "scenes/DistortionGrid.h"
#include "scenes/RenderToTexturePass.h"
#include "scenes/ScreenPasses.h"
#include "texture/Texture.h"
#include "GLFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

TEST(DistortionGrid, CoordinatesStopShortOfTheEdgeAndWobble)
{
    DistortionGrid grid;
    grid.build(24, false);
    ASSERT_EQ(grid.size(), 24);
    // s = i / 25 − 0.5 + 0.03225·cos(i − 12) + 0.5
    for (int i : {0, 5, 12, 24})
        for (int j : {0, 7, 24}) {
            EXPECT_NEAR(grid.at(i, j).s, float(i) / 25.0f + 0.03225f * std::cos(float(i - 12)), 1e-6f);
            EXPECT_NEAR(grid.at(i, j).t, float(j) / 25.0f + 0.03225f * std::cos(float(j - 12)), 1e-6f);
        }
    // The last point lies at 24/25 of the picture, not its edge (plus the wobble of cos 12).
    EXPECT_NEAR(grid.at(24, 24).s, 0.96f + 0.03225f * std::cos(12.0f), 1e-6f);

    // An odd size: the swirl's centre is a real half, the wobble's an integer one.
    DistortionGrid odd;
    odd.build(3, true);
    const float a = std::sqrt(1.5f * 1.5f + 0.5f * 0.5f) * 3.1415927f / 128.0f;  // point (0, 1)
    const float s0 = -0.5f, t0 = 0.25f - 0.5f;
    EXPECT_NEAR(odd.at(0, 1).s, s0 * std::cos(a) - t0 * std::sin(a) + 0.03225f * std::cos(-1.0f) + 0.5f, 1e-6f);
    EXPECT_NEAR(odd.at(0, 1).t, s0 * std::sin(a) + t0 * std::cos(a) + 0.03225f * std::cos(0.0f) + 0.5f, 1e-6f);

    DistortionGrid none;
    none.build(0, true);
    EXPECT_EQ(none.size(), 0);
    none.draw();  // draws nothing, needs no context
}

class ScenesGL : public GLTest {};

TEST_F(ScenesGL, PassKeepsOrClearsTheTargetAndGridShowsItAcrossTheScreen)
{
    std::unique_ptr<PBuffer> buffer(createPBuffer());
    ASSERT_TRUE(buffer && buffer->create(512, 512));
    glViewport(20, 10, 600, 450);  // a letterboxed window viewport

    RenderToTexturePass pass;
    ASSERT_TRUE(pass.begin(*buffer, true));
    GLint inside[4];
    glGetIntegerv(GL_VIEWPORT, inside);
    EXPECT_EQ(inside[2], 512);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glRectf(0, 0, 640, 240);  // lower half red in the screen projection
    ASSERT_TRUE(pass.end(*buffer));
    GLint after[4];
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_EQ(after[0], 20);
    EXPECT_EQ(after[1], 10);
    EXPECT_EQ(after[2], 600);
    EXPECT_EQ(after[3], 450);

    // Without clearing colour the picture stays for a feedback trail; depth is cleared.
    glClearColor(0, 1, 0, 1);
    ASSERT_TRUE(pass.begin(*buffer, false));
    GLfloat depth = 0;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
    unsigned char rgba[4] = {};
    glReadPixels(256, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[1], 0);
    ASSERT_TRUE(pass.end(*buffer));
    glClearColor(0, 0, 0, 1);

    glViewport(0, 0, 640, 480);
    glClear(GL_COLOR_BUFFER_BIT);
    DistortionGrid grid;
    grid.build(24, true);
    ASSERT_TRUE(buffer->bindTexture(GL_TEXTURE0_ARB));
    glColor3f(1, 1, 1);
    glDisable(GL_DEPTH_TEST);
    GLint matrixMode = 0;
    grid.draw();
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    buffer->releaseTexture(GL_TEXTURE0_ARB);
    glEnable(GL_DEPTH_TEST);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));

    // The grid covers the whole screen and shows the red lower half low, black high.
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 60), 255, 0, 0, 3);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 420), 0, 0, 0, 3);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 8), 255, 0, 0, 3);
    buffer->destroy();
}

namespace {

std::vector<std::uint8_t> readScreen()
{
    std::vector<std::uint8_t> pixels(std::size_t(640 * 480 * 4));
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace

TEST_F(ScenesGL, TheGridWithItsOverlayInOnePassGivesThePixelsOfTwoPasses)
{
    initTextureExtensions();  // the combiners, as the texture manager finds them at start-up
    if (!ext::gl_ARB_texture_env_crossbar || !ext::gl_ATI_texture_env_combine3)
        GTEST_SKIP() << "the driver lacks GL_ARB_texture_env_crossbar or GL_ATI_texture_env_combine3, "
                        "so both sides would take the two-pass path";
    std::unique_ptr<PBuffer> buffer(createPBuffer());
    ASSERT_TRUE(buffer && buffer->create(512, 512));
    glViewport(0, 0, 640, 480);

    // A picture with colour and alpha varying across it, as the feedback picture has.
    RenderToTexturePass pass;
    ASSERT_TRUE(pass.begin(*buffer, true));
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 0.1f, 0.0f, 1.0f);
    glVertex2f(0, 0);
    glColor4f(0.0f, 0.9f, 0.2f, 0.3f);
    glVertex2f(640, 0);
    glColor4f(0.2f, 0.3f, 1.0f, 0.0f);
    glVertex2f(640, 480);
    glColor4f(0.9f, 0.9f, 0.6f, 0.7f);
    glVertex2f(0, 480);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    ASSERT_TRUE(pass.end(*buffer));

    // A grain picture with a gradient and flecks, drifted off its origin.
    ImageTexture grainPicture;
    ASSERT_TRUE(grainPicture.allocateImage(8, 8, kPixelRGB));
    for (int i = 0; i < 8 * 8 * 3; ++i)
        grainPicture.pixels[std::size_t(i)] = std::uint8_t((i * 37) % 256);
    float u = 0.3f, v = 0.55f;
    const Grain grain = stepGrain(grainPicture, 1.0f, u, v);

    DistortionGrid grid;
    grid.build(24, true);
    for (const Grain* withGrain : {static_cast<const Grain*>(nullptr), &grain})
        for (float overlay : {0.0f, 0.35f, 1.0f}) {
        glClearColor(0.1f, 0.2f, 0.3f, 0.5f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EXPECT_FALSE(drawThroughGrid(grid, *buffer, overlay, withGrain, false));
        const std::vector<std::uint8_t> twoPasses = readScreen();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ASSERT_TRUE(drawThroughGrid(grid, *buffer, overlay, withGrain)) << "the one-pass path was not taken";
        const std::vector<std::uint8_t> onePass = readScreen();
        int worst = 0;
        for (std::size_t i = 0; i < onePass.size(); ++i)
            worst = std::max(worst, std::abs(int(onePass[i]) - int(twoPasses[i])));
        EXPECT_LE(worst, 2) << "overlay " << overlay << (withGrain ? " with grain" : "");

        // Nothing of the second texture unit or the combiners stays behind.
        GLint active = 0, mode = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
        EXPECT_EQ(active, GL_TEXTURE0_ARB);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        EXPECT_NE(mode, GL_COMBINE_ARB);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        GLint matrixMode = 0, textureDepth = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_MODELVIEW);
        glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &textureDepth);
        EXPECT_EQ(textureDepth, 1);
    }
    glClearColor(0, 0, 0, 1);
    buffer->destroy();
}
