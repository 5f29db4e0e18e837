// The 4:3 viewport inside surfaces of any shape.
#include "core/ScreenSpace.h"

#include <gtest/gtest.h>

namespace {
void expectViewport(int width, int height, int x, int y, int w, int h)
{
    const screen::Viewport v = screen::letterbox(width, height);
    EXPECT_EQ(v.x, x) << width << "x" << height;
    EXPECT_EQ(v.y, y) << width << "x" << height;
    EXPECT_EQ(v.width, w) << width << "x" << height;
    EXPECT_EQ(v.height, h) << width << "x" << height;
}
} // namespace

TEST(Letterbox, KeepsFourByThreeCentredWithBarsOnTheLongSide)
{
    // 4:3 sizes are used whole, to the pixel.
    expectViewport(640, 480, 0, 0, 640, 480);
    expectViewport(1024, 768, 0, 0, 1024, 768);
    expectViewport(1600, 1200, 0, 0, 1600, 1200);
    // Wide: bars left and right.
    expectViewport(1280, 720, 160, 0, 960, 720);
    expectViewport(1920, 1080, 240, 0, 1440, 1080);
    // Tall: bars above and below.
    expectViewport(1280, 1024, 0, 32, 1280, 960);
    expectViewport(800, 800, 0, 100, 800, 600);
    // Sizes that do not divide evenly round to the nearest pixel and stay inside.
    expectViewport(101, 64, 8, 0, 85, 64);
    expectViewport(65, 100, 0, 25, 65, 49);
    // Nothing to draw into gives an empty viewport, never a negative one.
    expectViewport(0, 480, 0, 0, 0, 480);
    expectViewport(-5, -5, 0, 0, 0, 0);
}
