// Tests that draw share one headless EGL context per test program (created on first use, with
// the extension registry filled as at start-up) and read pixels back from it.
#pragma once
#include "core/GL.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace testgl {

// Makes the shared context current; false (with a reason on stderr) when EGL is unavailable.
bool ensureContext(int width = 640, int height = 480);

struct Rgba {
    int r, g, b, a;
};

// The pixel at window coordinates (x, y), origin bottom-left as GL reads it.
Rgba readPixel(int x, int y);
// The whole colour buffer, rows bottom first.
std::vector<unsigned char> readPixels(int width, int height);
// Resets the state the show's start-up sets, clears the buffers and sets a 640 × 480 ortho view.
void resetState();

} // namespace testgl

// Base fixture: skips nothing, fails the test when no context can be had.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testgl::ensureContext()) << "no headless OpenGL context";
        testgl::resetState();
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
};

// Colour comparison with a tolerance for rasteriser differences.
#define EXPECT_PIXEL_NEAR(pixel, R, G, B, tolerance)                                               \
    do {                                                                                           \
        auto p_ = (pixel);                                                                         \
        EXPECT_NEAR(p_.r, (R), (tolerance));                                                       \
        EXPECT_NEAR(p_.g, (G), (tolerance));                                                       \
        EXPECT_NEAR(p_.b, (B), (tolerance));                                                       \
    } while (0)
