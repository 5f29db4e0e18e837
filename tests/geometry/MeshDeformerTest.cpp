#include "geometry/MeshDeformer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<MeshVertex> cloud()
{
    std::vector<MeshVertex> v;
    for (Vector3 p : {Vector3(0, 0, 0), Vector3(1, 0, 0), Vector3(0.3f, -0.7f, 0.2f), Vector3(-1.5f, 2, 0.5f),
                      Vector3(0.1f, 0.9f, -1.2f), Vector3(2, -1, 1)})
        v.push_back(MeshVertex{p, {0, 0, 1}, {1, 2, 3, 4}});
    return v;
}

void expectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// Runs the deformer from a copy and checks that every position came through unchanged.
void expectIdentity(MeshDeformer& deformer, float tolerance = 1e-5f)
{
    const std::vector<MeshVertex> source = cloud();
    std::vector<MeshVertex> out(source.size());
    deformer.applyToVertices(source, out);
    for (std::size_t j = 0; j < source.size(); ++j)
        expectNear(out[j].position, source[j].position, tolerance);
}

} // namespace

TEST(MeshDeformer, NeutralParametersLeavePositionsAlone)
{
    RippleDeformer ripple;
    ripple.phase = 1.3f;
    expectIdentity(ripple);  // no axes

    BendDeformer bend;
    ASSERT_TRUE(bend.setup(0.0f, 0.7f, BendDeformer::kAboutX, -1, 1));
    EXPECT_EQ(bend.radius, 0.0f);
    expectIdentity(bend);

    TaperDeformer taper;
    taper.setup({0.2f, 0.1f, 0}, 1, 1, deformaxis::kY);
    taper.setExtentFromBox({-2, -2, -2}, {2, 2, 2});
    expectIdentity(taper);

    TwistDeformer twist;
    twist.setup({1, 2, 3}, {0, 0, 0}, deformaxis::kAll, 7);
    expectIdentity(twist);
}

TEST(MeshDeformer, RippleAtTheAxisWithAQuarterOffsetDisplacesByAmplitudeTimesWeight)
{
    RippleDeformer ripple;
    ASSERT_TRUE(ripple.setWave(deformaxis::kY, 0.5f, 99.0f, 2.0f, 0.25f, 3.0f, 0.8f));
    EXPECT_FALSE(ripple.setWave(3, 1, 0, 1, 0, 0, 1));
    EXPECT_EQ(ripple.axes, deformaxis::kY);
    ripple.phase = 0.0f;
    expectNear(ripple.deform({0, 2, 0}), {0, 2.0f + 0.5f * 0.8f, 0});

    // Away from the axis: sin(phase + (offset + r / w)·2π)·exp(−decay·r).
    const Vector3 p{0.3f, 1, 0.4f};  // r = 0.5
    const float f = 0.5f * std::sin((0.25f + 0.25f) * 6.2831855f) * std::exp(-1.5f);
    expectNear(ripple.deform(p), {0.3f, 1 + 0.8f * f, 0.4f});

    // A zero wavelength does not divide by zero.
    ripple.setWave(deformaxis::kY, 1, 0, 0, 0, 0, 1);
    const Vector3 q = ripple.deform({1, 0, 0});
    EXPECT_TRUE(std::isfinite(q.y));
}

TEST(MeshDeformer, RippleAxesFeedEachOtherInOrder)
{
    RippleDeformer ripple;
    ripple.setWave(deformaxis::kX, 1, 0, 4, 0, 0, 1);
    ripple.setWave(deformaxis::kZ, 1, 0, 4, 0, 0, 1);
    ripple.phase = 0.0f;
    const Vector3 v{0, 1, 0};
    // x first: r = 1, x = sin(π/2) = 1; then z sees (1, 1, 0): r = √2.
    const float z = std::sin(std::sqrt(2.0f) / 4 * 6.2831855f);
    expectNear(ripple.deform(v), {1, 1, z});
}

TEST(MeshDeformer, BendWrapsTheAxisOntoACircle)
{
    BendDeformer bend;
    EXPECT_FALSE(bend.setup(1, 0, 3, -1, 1));
    const float theta = 3.1415927f / 2;
    ASSERT_TRUE(bend.setup(theta, 0, BendDeformer::kAboutX, -1, 1));
    const float R = 2.0f / theta;
    EXPECT_NEAR(bend.radius, R, 1e-6f);

    // In the bend frame a point at q.x = 0 travels an arc of length q.y on the circle of radius R
    // about (R, 0); q.y = 0 stays put.
    for (float y : {0.0f, 0.5f, -1.0f, 2.0f}) {
        const Vector3 q{0, y, 0.25f};
        const Vector3 v = bend.inverseFrame.transformPoint(q);
        const Vector3 out = bend.frame.transformPoint(bend.deform(v));
        EXPECT_NEAR(distance(out, {R, 0, 0.25f}), R, 1e-4f);
        EXPECT_NEAR(out.z, 0.25f, 1e-5f);
        const float arc = std::atan2(out.y, R - out.x) * R;
        EXPECT_NEAR(arc, y, 1e-4f) << y;
    }
    expectNear(bend.deform({0, 0, 0}), {0, 0, 0});
}

TEST(MeshDeformer, TaperScalesCrossAxesByDistanceAlongItsAxis)
{
    TaperDeformer taper;
    taper.setup({0, 0, 1}, 3, 0.5f, deformaxis::kZ);
    taper.setExtentFromBox({-1, -1, -1}, {1, 1, 2});
    expectNear(taper.extent, {1, 1, 2});
    // t = |dz / 2| = 1: x scales by 3, y by 0.5.
    expectNear(taper.deform({1, 2, 3}), {3, 1, 3});
    // Near the centre t is held at 0.01.
    expectNear(taper.deform({1, 1, 1}), {1 + 0.01f * 2, 1 - 0.01f * 0.5f, 1});

    taper.axis = deformaxis::kX;
    expectNear(taper.deform({1, 2, 3}), {1, 2 * 3, 1 + 2 * 0.5f});

    taper.axis = 3;  // not an axis
    expectNear(taper.deform({1, 2, 3}), {1, 2, 3});

    TaperDeformer flat;  // extent never set
    flat.setup({0, 0, 0}, 2, 2, deformaxis::kZ);
    const Vector3 p = flat.deform({1, 1, 1});
    expectNear(p, {1, 1, 1});
}

TEST(MeshDeformer, TwistTurnsAboutTheFirstAxisOfItsSetOnly)
{
    TwistDeformer twist;
    twist.centre = {1, 0, 0};
    const float quarter = 3.1415927f / 2;
    twist.setup({1, 2, 1}, {quarter, quarter, quarter}, 6, 0);  // y and z: only y applies
    // d = (1, 2, 0): a = 2 / 2 · π/2 → (d.x, d.z) = (0, 1).
    expectNear(twist.deform({2, 2, 0}), {1, 2, 1});

    twist.setup({1, 1, 1}, {quarter, 0, 0}, deformaxis::kAll, 0);  // x first
    // d = (1, 1, 0): (d.y, d.z) turned by π/2 → (0, 1).
    expectNear(twist.deform({2, 1, 0}), {2, 0, 1});

    twist.setup({1, 1, 1}, {0, 0, quarter}, deformaxis::kZ, 0);
    expectNear(twist.deform({2, 0, 1}), {1, 1, 1});

    twist.setup({1, 1, 1}, {1, 1, 1}, 0, 0);  // no axes
    expectNear(twist.deform({2, 3, 4}), {2, 3, 4});
}

TEST(MeshDeformer, InPlaceAndMeshToMeshAgreeAndKeepNormalsAndColours)
{
    TwistDeformer twist;
    twist.setup({1, 1, 1}, {0, 0.9f, 0}, deformaxis::kY, 7);

    std::vector<MeshVertex> copy = cloud();
    std::vector<MeshVertex> separate(copy.size());
    twist.applyToVertices(copy, separate);
    twist.applyToVertices(copy, copy);
    for (std::size_t j = 0; j < copy.size(); ++j) {
        EXPECT_EQ(copy[j].position, separate[j].position);
        EXPECT_EQ(copy[j].normal, Vector3(0, 0, 1));
        EXPECT_EQ(copy[j].colour[3], 4);
    }

    Mesh source, drawn;
    ASSERT_TRUE(source.allocate(3, 1));
    ASSERT_TRUE(drawn.allocate(2, 1));  // holds fewer: only two are written
    for (int j = 0; j < 3; ++j)
        source.addVertex(cloud()[std::size_t(j + 1)]);
    drawn.addVertex(MeshVertex{});
    drawn.addVertex(MeshVertex{});
    twist.applyToMesh(source, drawn);
    EXPECT_EQ(drawn.vertices[0].position, twist.deform(source.vertices[0].position));
    EXPECT_EQ(drawn.vertices[1].position, twist.deform(source.vertices[1].position));
}
