// The grain pass: its offsets drift a row at a time and wrap, and it only ever brightens the
// frame (additive), leaving blending and depth writes as they were.
#include "GLFixture.h"
#include "scenes/ScreenPasses.h"
#include "texture/Texture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class ScreenPassesGL : public GLTest {};

TEST_F(ScreenPassesGL, TheGrainDriftsWrapsAndOnlyBrightensTheFrame)
{
    ImageTexture grain;
    ASSERT_TRUE(grain.allocateImage(2, 2, kPixelRGB));
    for (int i = 0; i < 12; ++i)
        grain.pixels[i] = 255;

    float u = 0.0f, v = 0.0f;
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawNoisePass(grain, 0.0f, u, v);
    EXPECT_FLOAT_EQ(v, 0.05f);
    EXPECT_FLOAT_EQ(u, 0.0f);
    std::uint8_t pixel[4] = {};
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    // 0.2 of the clear plus 0.15 of white at t = 0.
    EXPECT_NEAR(pixel[0], 89, 3);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);

    // A row of twenty steps moves u on by one step; past 1 it starts again at 0.
    u = 1.0f;
    v = 0.96f;
    drawNoisePass(grain, 0.0f, u, v);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(u, 0.0f);
    v = 0.96f;
    drawNoisePass(grain, 0.0f, u, v);
    EXPECT_FLOAT_EQ(u, 0.05f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

} // namespace
