#include "scenes/WaterSimulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr float kFrame = 1.0f / 60.0f;

float largestHeight(const WaterSurface& surface)
{
    float most = 0.0f;
    for (const MeshVertex& v : surface.vertices)
        most = std::max(most, std::fabs(v.position.y));
    return most;
}

TEST(WaterSimulation, SurfaceMovesOnlyInsideTheDropWindow)
{
    WaterSimulation water;
    water.buildSurface();
    ASSERT_TRUE(water.surface);
    const Vector3 eye{0.0f, 20.0f, -40.0f};

    for (float t = 60.0f; t < WaterSimulation::kDropsStart - kFrame; t += kFrame)
        water.advanceSurface(t, kFrame, eye);
    EXPECT_EQ(largestHeight(*water.surface), 0.0f) << "flat before the drops begin";
    for (const MeshVertex& v : water.surface->vertices)
        ASSERT_EQ(v.normal.y, 1.0f);

    for (float t = WaterSimulation::kDropsStart; t < WaterSimulation::kDropsStart + 2.0f; t += kFrame)
        water.advanceSurface(t, kFrame, eye);
    EXPECT_GT(largestHeight(*water.surface), 0.01f) << "drops and waves inside the window";

    const std::vector<MeshVertex> before(water.surface->vertices.begin(), water.surface->vertices.end());
    for (float t = WaterSimulation::kDropsEnd + 0.01f; t < 100.0f; t += kFrame)
        water.advanceSurface(t, kFrame, eye);
    for (int i = 0; i < water.surface->vertices.size(); ++i)
        ASSERT_EQ(water.surface->vertices[i].position.y, before[std::size_t(i)].position.y)
            << "frozen after the window, vertex " << i;
}

TEST(WaterSimulation, DropsCircleTheCentreInsideTheMovingPart)
{
    for (float t = 66.0f; t < 86.0f; t += 0.05f) {
        const WaterSimulation::Cell cell = WaterSimulation::dropCell(t);
        // |h ± l| ≤ 10√2, so the drops stay off the pool's still outer rings.
        EXPECT_GE(cell.column, 15);
        EXPECT_LE(cell.column, 45);
        EXPECT_GE(cell.row, 15);
        EXPECT_LE(cell.row, 45);
    }
    // t = 0: h = 10, l = 0 → column 40, row 20; truncation is toward zero on both sides.
    EXPECT_EQ(WaterSimulation::dropCell(0.0f).column, 40);
    EXPECT_EQ(WaterSimulation::dropCell(0.0f).row, 20);
    const float t = 3.0f;  // h = -9.8999, l = 1.4112
    EXPECT_EQ(WaterSimulation::dropCell(t).column, 30 + int(std::trunc(-8.4887f)));
    EXPECT_EQ(WaterSimulation::dropCell(t).row, 30 - int(std::trunc(-11.3111f)));
}

TEST(WaterSimulation, OneDropEveryThirtiethOfASecond)
{
    WaterSimulation water;
    water.buildSurface();
    water.surface->damping = 0.0f;
    const Vector3 eye{0.0f, 20.0f, -40.0f};
    // Half-frame steps: a drop lands every other step, the timer carrying the remainder.
    const float half = WaterSimulation::kDropInterval / 2.0f;
    water.advanceSurface(WaterSimulation::kDropsStart, half, eye);
    EXPECT_GT(water.dropTimer, 0.0f);
    EXPECT_NEAR(water.dropTimer, half, 1e-6f) << "the first step drops at once";
    water.advanceSurface(WaterSimulation::kDropsStart + half, half, eye);
    EXPECT_NEAR(water.dropTimer, WaterSimulation::kDropInterval, 1e-6f);
}

} // namespace

namespace {

TEST(WaterSimulation, FirstFrameInsideTheWindowIsNoGiantStep)
{
    // A show started at 70 s: the first frame must not integrate the 70 s since time 0.
    WaterSimulation water;
    water.buildSurface();
    const Vector3 eye{0.0f, 20.0f, -40.0f};
    float t = 70.0f;
    for (int frame = 0; frame < 120; ++frame, t += kFrame) {
        const float dt = water.frameTime(t);
        if (frame == 0)
            EXPECT_EQ(dt, 0.0f);
        else
            EXPECT_NEAR(dt, kFrame, 1e-4f);
        water.advanceSurface(t, dt, eye);
    }
    EXPECT_EQ(water.lastTime, t - kFrame);
    // Drops of -0.125 and calm springs: nothing near the size a runaway step gives.
    EXPECT_GT(largestHeight(*water.surface), 0.01f);
    EXPECT_LT(largestHeight(*water.surface), 2.0f);
    EXPECT_GT(water.dropTimer, 0.0f);
}

} // namespace
