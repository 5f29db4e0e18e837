// The overlay kinds drawn on a real GL context through the timeline, checked by reading the
// pixels back: placement, texture orientation, blend results and animated numbers.
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/TextEffect.h"
#include "font/FontRegistry.h"
#include "texture/TextureManager.h"
#include "EffectRenderFixture.h"
#include "GLFixture.h"

#include <sstream>

namespace {

using testgl::readPixel;

constexpr int kTolerance = 3;

// A constant-free scale track from `a` at time 0 to `b` at time `t1`.
std::string scaleTrack(float a, float t1, float b)
{
    std::ostringstream s;
    s << "  Keyframer {\n    Scale {\n      NumKeys 2\n      Key 0 " << a << "\n      Key " << t1
      << ' ' << b << "\n    }\n  }\n";
    return s.str();
}

using OverlayRenderTest = EffectRenderTest;

TEST_F(OverlayRenderTest, ImageWithTexRectAndRectLandsUpright)
{
    // Row 0 (the top of the picture): red green blue white; row 1: cyan magenta yellow black.
    addTexture("quads.png", 4, 2, [](int x, int y) -> std::uint32_t {
        static const std::uint32_t c[2][4] = {{0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF},
                                              {0x00FFFFFF, 0xFF00FFFF, 0xFFFF00FF, 0x000000FF}};
        return c[y][x];
    });
    load("Image {\n  Start 0\n  End 5\n  Image \"quads.png\"\n  TexRect 0.5 0 1 1\n"
         "  Rect 100 100 200 100\n}\n");
    frame(1.0f, 0.5f, 0.5f, 0.5f);
    EXPECT_PIXEL_NEAR(readPixel(150, 175), 0, 0, 255, kTolerance);   // top left: blue
    EXPECT_PIXEL_NEAR(readPixel(250, 175), 255, 255, 255, kTolerance); // top right: white
    EXPECT_PIXEL_NEAR(readPixel(150, 125), 255, 255, 0, kTolerance); // bottom left: yellow
    EXPECT_PIXEL_NEAR(readPixel(250, 125), 0, 0, 0, kTolerance);     // bottom right: black
    EXPECT_PIXEL_NEAR(readPixel(50, 50), 128, 128, 128, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(310, 150), 128, 128, 128, kTolerance);
}

TEST_F(OverlayRenderTest, ImageWithoutLinesCoversTheScreenAndFadesByScale)
{
    addTexture("half.png", 1, 2, [](int, int y) -> std::uint32_t { return y == 0 ? 0xFF0000FF : 0x0000FFFF; });
    load("Image {\n  End 10\n  Image \"half.png\"\n" + scaleTrack(0, 10, 1) + "}\n");
    frame(10.0f);
    EXPECT_PIXEL_NEAR(readPixel(5, 470), 255, 0, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(635, 5), 0, 0, 255, kTolerance);
    frame(5.0f, 0, 1, 0);
    EXPECT_PIXEL_NEAR(readPixel(320, 400), 128, 128, 0, kTolerance);
}

TEST_F(OverlayRenderTest, ImageWhoseTextureIsNotLoadedDrawsNothing)
{
    load("Image {\n  End 1\n  Image \"nowhere.png\"\n}\n");
    frame(0.5f, 0.25f, 0.25f, 0.25f);
    EXPECT_PIXEL_NEAR(readPixel(320, 240), 64, 64, 64, kTolerance);
}

TEST_F(OverlayRenderTest, FlashAlphaFollowsTheScaleTrack)
{
    load("Flash {\n  End 10\n  Color 1 0 0 1\n" + scaleTrack(0, 10, 1) + "}\n");
    frame(0.0f, 0, 0, 1);
    EXPECT_PIXEL_NEAR(readPixel(320, 240), 0, 0, 255, kTolerance);
    frame(2.5f, 0, 0, 1);
    EXPECT_PIXEL_NEAR(readPixel(0, 0), 64, 0, 191, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(639, 479), 64, 0, 191, kTolerance);
    frame(10.0f, 0, 0, 1);
    EXPECT_PIXEL_NEAR(readPixel(320, 240), 255, 0, 0, kTolerance);
}

TEST_F(OverlayRenderTest, InvertMixesByIntensity)
{
    load("Invert {\n  End 10\n  Rect 100 100 100 100\n" + scaleTrack(0.25f, 10, 0.25f) + "}\n"
         "Invert {\n  Start 20\n  End 30\n}\n"
         "Invert {\n  Start 20\n  End 30\n  Layer 1\n" + scaleTrack(0, 10, 0) + "}\n");
    frame(5.0f, 0.2f, 0.6f, 1.0f);
    // k (1 - d) + d (1 - k) with k = 0.25
    EXPECT_PIXEL_NEAR(readPixel(150, 150), 89, 140, 191, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(50, 150), 51, 153, 255, kTolerance);
    // Without an animator the whole screen is inverted; with scale 0 nothing changes.
    frame(25.0f, 0.2f, 0.6f, 1.0f);
    EXPECT_PIXEL_NEAR(readPixel(150, 150), 204, 102, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(600, 400), 204, 102, 0, kTolerance);
}

TEST_F(OverlayRenderTest, TextFadeBlendsBlurThenText)
{
    // Left half red (the blurred picture), right half green (the sharp text).
    addTexture("fade.png", 256, 256, [](int x, int) -> std::uint32_t { return x < 128 ? 0xFF0000FF : 0x00FF00FF; });
    load("TextFade {\n  End 10\n  Image \"fade.png\"\n  BlurRect 0 0 128 256\n"
         "  TextRect 128 0 128 256\n  ScreenRect 100 100 200 100\n" + scaleTrack(0, 2, 2) + "}\n");
    frame(0.5f);
    EXPECT_PIXEL_NEAR(readPixel(200, 150), 128, 0, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(50, 50), 0, 0, 0, kTolerance);
    frame(1.0f);
    EXPECT_PIXEL_NEAR(readPixel(200, 150), 255, 0, 0, kTolerance);
    frame(1.5f);
    EXPECT_PIXEL_NEAR(readPixel(200, 150), 64, 128, 0, kTolerance);
    frame(0.0f);
    EXPECT_PIXEL_NEAR(readPixel(200, 150), 0, 0, 0, kTolerance);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
}

TEST_F(OverlayRenderTest, TextDrawsThroughTheRegisteredFontAtTheAnimatorsPlace)
{
    FontRegistry fonts;
    addSquareFont(fonts);
    load("Text {\n  End 10\n  Text \"ab\"\n  Font \"Squares\"\n  Color 0 1 0 1\n"
         "  Keyframer {\n    Translate {\n      Type \"Linear\"\n      NumKeys 1\n"
         "      Key 0 100 200 0\n    }\n    Rotate {\n      NumKeys 1\n      Key 0 0 0 1 0\n"
         "    }\n  }\n}\n"
         "Text {\n  End 10\n  Text \"no font\"\n  Font \"Missing\"\n}\n");
    frame(1.0f);
    EXPECT_PIXEL_NEAR(readPixel(105, 205), 0, 255, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(112, 205), 0, 0, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(120, 205), 0, 255, 0, kTolerance);
    EXPECT_PIXEL_NEAR(readPixel(135, 205), 0, 0, 0, kTolerance);
    GLint winding = 0;
    glGetIntegerv(GL_FRONT_FACE, &winding);
    EXPECT_EQ(winding, GL_CCW);
    // The animator's transform is popped again.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 0.0f);
    timeline.clear();
    fonts.clear();
}

} // namespace
