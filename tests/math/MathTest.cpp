#include "math/Matrix4x4.h"
#include "math/PlaneEq.h"
#include "math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

void expectNear(const Matrix4x4& a, const Matrix4x4& b, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

void expectNear(const Quaternion& a, const Quaternion& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
    EXPECT_NEAR(a.w, b.w, tolerance);
}

// A small deterministic generator for matrices and rotations.
float nextValue(unsigned& state)
{
    state = state * 1664525u + 1013904223u;
    return float(state >> 8) / float(1u << 24) * 2.0f - 1.0f;
}

} // namespace

TEST(Vector3, LengthCrossAndNormalize)
{
    Vector3 zero;
    zero.normalize();
    EXPECT_EQ(zero, Vector3(0, 0, 0));
    EXPECT_EQ(cross(Vector3(1, 2, 3), Vector3(4, 5, 6)), Vector3(-3, 6, -3));
}

TEST(PlaneEq, FromPointsGivesUnitNormalAndOffset)
{
    const PlaneEq plane = PlaneEq::fromPoints({0, 0, 2}, {3, 0, 2}, {0, 5, 2});
    EXPECT_EQ(plane.normal(), Vector3(0, 0, 1));
    EXPECT_FLOAT_EQ(plane.d, -2.0f);
    EXPECT_FLOAT_EQ(plane.distance({7, -3, 5}), 3.0f);
    // Collinear points: no plane, but no NaN either.
    const PlaneEq none = PlaneEq::fromPoints({0, 0, 0}, {1, 1, 1}, {2, 2, 2});
    EXPECT_EQ(none.normal(), Vector3(0, 0, 0));
}

TEST(Matrix4x4, ConstructorsStoreTheDocumentedElements)
{
    const Matrix4x4 t = Matrix4x4::translation(1, 2, 3);
    EXPECT_EQ(t.transformPoint({1, 1, 1}), Vector3(2, 3, 4));
    EXPECT_EQ(Matrix4x4::scale(2, 3, 4).transformPoint({1, 1, 1}), Vector3(2, 3, 4));
    // The rotations are stored transposed: a positive angle turns the other way.
    const float a = 0.3f;
    const Vector3 rz = Matrix4x4::rotationZ(a).transformPoint({1, 0, 0});
    EXPECT_NEAR(rz.x, std::cos(a), 1e-6f);
    EXPECT_NEAR(rz.y, -std::sin(a), 1e-6f);
    const Matrix4x4 columns = Matrix4x4::fromColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    EXPECT_EQ(columns.at(2, 0), 3.0f);
    EXPECT_EQ(columns.at(0, 2), 7.0f);
    EXPECT_EQ(Matrix4x4::fromRows({1, 2, 3}, {4, 5, 6}, {7, 8, 9}), columns.transposed());
}

TEST(Matrix4x4, ProductMayAliasItsInputs)
{
    Matrix4x4 a = Matrix4x4::rotationZ(0.5f) * Matrix4x4::translation(1, 2, 3);
    const Matrix4x4 expected = a * a;
    a *= a;
    EXPECT_EQ(a, expected);
}

TEST(Matrix4x4, InverseTimesMatrixIsIdentity)
{
    unsigned state = 7;
    for (int n = 0; n < 200; ++n) {
        Matrix4x4 m;
        for (float& e : m.m)
            e = nextValue(state) * 10.0f;
        // Keep the matrices well away from singular so the float result can be held to 1e-3.
        for (int i = 0; i < 4; ++i)
            m.at(i, i) += 40.0f;
        const Matrix4x4 inverse = m.inverse();
        expectNear(m * inverse, Matrix4x4::identity(), 1e-4f);
        expectNear(inverse * m, Matrix4x4::identity(), 1e-4f);
    }
    // A zero on the diagonal needs the row exchange.
    const Matrix4x4 swap = Matrix4x4::fromRows({0, 1, 0}, {1, 0, 0}, {0, 0, 1});
    EXPECT_EQ(swap.inverse(), swap);
    const Matrix4x4 rigid = Matrix4x4::translation(3, -2, 7) * Matrix4x4::eulerXYZ(0.4f, 1.1f, -0.7f);
    const Vector3 back = rigid.inverse().transformPoint(rigid.transformPoint({1, 2, 3}));
    EXPECT_NEAR(back.x, 1, 1e-5f);
    EXPECT_NEAR(back.y, 2, 1e-5f);
    EXPECT_NEAR(back.z, 3, 1e-5f);
}

TEST(Matrix4x4, SingularInverseIsZero)
{
    Matrix4x4 zeroColumn = Matrix4x4::identity();
    zeroColumn.at(1, 1) = 0.0f;
    EXPECT_EQ(zeroColumn.inverse(), Matrix4x4::zero());
    // Pivots at or below 0.000001 count as zero.
    EXPECT_EQ(Matrix4x4::scale(1, 1, 0.000001f).inverse(), Matrix4x4::zero());
    EXPECT_NE(Matrix4x4::scale(1, 1, 0.00001f).inverse(), Matrix4x4::zero());
    Matrix4x4 nan = Matrix4x4::identity();
    nan.m[0] = std::nanf("");
    EXPECT_EQ(nan.inverse(), Matrix4x4::zero());
}

TEST(Quaternion, AxisAngleConversions)
{
    EXPECT_EQ(Quaternion::fromAxisAngle(1.0f, {0, 0, 0}), Quaternion::identity());
    expectNear(Quaternion::fromAxisAngle(pi / 2, {0, 0, 2}),
               {0, 0, std::sin(pi / 4), std::cos(pi / 4)}, 1e-7f);
    float angle = -1;
    Vector3 axis;
    Quaternion::identity().toAxisAngle(angle, axis);
    EXPECT_EQ(angle, 0.0f);
    EXPECT_EQ(axis, Vector3(0, 0, 1));
    // A product of unit quaternions can land a hair above w = 1.
    Quaternion(0, 0, 0, 1.0000001f).toAxisAngle(angle, axis);
    EXPECT_EQ(angle, 0.0f);
}

TEST(Quaternion, ToMatrixMatchesTheStoredRotationsAndProducts)
{
    const float a = 0.7f;
    expectNear(Quaternion::fromAxisAngle(a, {1, 0, 0}).toMatrix(), Matrix4x4::rotationX(a));
    expectNear(Quaternion::fromAxisAngle(a, {0, 1, 0}).toMatrix(), Matrix4x4::rotationY(a));
    expectNear(Quaternion::fromAxisAngle(a, {0, 0, 1}).toMatrix(), Matrix4x4::rotationZ(a));
    EXPECT_EQ(Quaternion(0, 0, 0, 0).toMatrix(), Matrix4x4::identity());
    // Non-unit quaternions give the same rotation.
    const Quaternion q = Quaternion::fromAxisAngle(1.2f, {1, -2, 0.5f});
    expectNear((q * 3.0f).toMatrix(), q.toMatrix());
    // The transposed form reverses the order of a product.
    const Quaternion p = Quaternion::fromAxisAngle(-0.4f, {0.3f, 1, 1});
    expectNear((p * q).toMatrix(), q.toMatrix() * p.toMatrix());
    // Hamilton product of turns about one axis adds the angles.
    expectNear(Quaternion::fromAxisAngle(0.5f, {0, 0, 1}) * Quaternion::fromAxisAngle(0.25f, {0, 0, 1}),
               Quaternion::fromAxisAngle(0.75f, {0, 0, 1}));
}

TEST(Quaternion, FromMatrixReturnsTheConjugate)
{
    unsigned state = 3;
    for (int n = 0; n < 100; ++n) {
        const Vector3 axis(nextValue(state), nextValue(state), nextValue(state));
        // w >= 0.5: angles up to 120 degrees, the trace branch.
        const float angle = (nextValue(state) * 0.5f + 0.5f) * 2.0f * pi / 3.0f;
        Quaternion q = Quaternion::fromAxisAngle(angle, axis);
        expectNear(Quaternion::fromMatrix(q.toMatrix()), q.conjugate(), 2e-5f);
    }
    // Near half turns: the diagonal branches, one per largest diagonal element.
    for (const Vector3& axis : {Vector3(1, 0.1f, 0.2f), Vector3(0.1f, 1, 0.2f), Vector3(0.1f, 0.2f, 1)}) {
        const Quaternion q = Quaternion::fromAxisAngle(3.0f, axis);
        const Quaternion r = Quaternion::fromMatrix(q.toMatrix());
        // Either sign is the same rotation.
        const float sign = r.w * q.w >= 0 ? 1.0f : -1.0f;
        expectNear(r * sign, q.conjugate(), 2e-5f);
    }
    EXPECT_EQ(Quaternion::fromMatrix(Matrix4x4::zero()), Quaternion::identity());
}

TEST(Quaternion, SlerpFollowsTheShorterArc)
{
    const Vector3 axis(1, 2, -1);
    const Quaternion p = Quaternion::fromAxisAngle(0.2f, axis);
    const Quaternion q = Quaternion::fromAxisAngle(2.2f, axis);
    for (float t : {0.0f, 0.25f, 0.5f, 0.9f, 1.0f})
        expectNear(slerp(p, q, t), Quaternion::fromAxisAngle(0.2f + 2.0f * t, axis));
    // A negative dot product turns the other way round (towards -q), the shorter arc.
    const Quaternion far = -Quaternion::fromAxisAngle(1.5f, axis);
    expectNear(slerp(Quaternion::identity(), far, 0.5f), Quaternion::fromAxisAngle(0.75f, axis));
    // Close rotations use the plain blend, not renormalised.
    const Quaternion a = Quaternion::fromAxisAngle(0.0f, axis);
    const Quaternion b = Quaternion::fromAxisAngle(0.6f, axis);
    ASSERT_GE(dot(a, b), 0.95f);
    EXPECT_EQ(slerp(a, b, 0.5f), lerp(a, b, 0.5f));
    EXPECT_LT(std::sqrt(dot(slerp(a, b, 0.5f), slerp(a, b, 0.5f))), 1.0f);
}
