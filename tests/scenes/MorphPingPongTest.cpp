#include "geometry/Mesh.h"
#include "scenes/MorphPingPong.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TEST(MorphPingPong, RunsBackAndForthBetweenZeroAndOne)
{
    MorphPingPong morph;
    for (int frame = 0; frame < 60; ++frame)
        morph.advance(1.0f / 60.0f);
    EXPECT_NEAR(morph.weight, 0.30003f, 1e-4f);

    // Up to 1 after about 3.33 s, down to 0 after about 6.67 s, then up again.
    int turns = 0;
    for (int frame = 60; frame < 60 * 8; ++frame) {
        const float speed = morph.speed;
        morph.advance(1.0f / 60.0f);
        ASSERT_GE(morph.weight, 0.0f);
        ASSERT_LE(morph.weight, 1.0f);
        if (morph.speed != speed) {
            ++turns;
            EXPECT_EQ(morph.speed, -speed);
            EXPECT_EQ(morph.weight, speed > 0.0f ? 1.0f : 0.0f);
            EXPECT_NEAR(float(frame + 1) / 60.0f, float(turns) * 3.333f, 0.02f);
        }
    }
    EXPECT_EQ(turns, 2);
    EXPECT_FLOAT_EQ(morph.speed, MorphPingPong::kSpeed);
}

void triangle(Mesh& mesh, std::initializer_list<Vector3> points)
{
    mesh.allocate(int(points.size()), 1);
    for (const Vector3& p : points)
        mesh.addVertex(MeshVertex{p, {0, 0, 1}, {9, 9, 9, 9}});
    MeshFace face;
    for (int i = 0; i < 3; ++i)
        face.indices[i] = i;
    mesh.addFace(face);
}

TEST(MorphPingPong, BlendsPositionsAndRecomputesNormals)
{
    Mesh from, to, target;
    triangle(from, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    triangle(to, {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}});
    triangle(target, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    morphPositions(target, from, to, 0.5f);
    EXPECT_EQ(target.vertices[2].position, (Vector3{0, 0.5f, -0.5f}));
    // The face now leans back by 45°: its normal follows.
    EXPECT_NEAR(target.vertices[0].normal.y, 0.70710677f, 1e-5f);
    EXPECT_NEAR(target.vertices[0].normal.z, 0.70710677f, 1e-5f);
    EXPECT_EQ(target.vertices[0].colour[0], 9);

    // A second shape with fewer vertices blends only those it has.
    Mesh shorter;
    triangle(shorter, {{2, 2, 2}, {2, 2, 2}});
    morphPositions(target, from, shorter, 1.0f);
    EXPECT_EQ(target.vertices[1].position, (Vector3{2, 2, 2}));
    EXPECT_EQ(target.vertices[2].position, (Vector3{0, 0.5f, -0.5f}));
}

} // namespace
