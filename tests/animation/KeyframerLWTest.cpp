#include "animation/Keyframer.h"
#include "animation/KeyframerLW.h"
#include "GLFixture.h"
#include "math/Angles.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

bool readBlock(Animator& animator, const std::string& text)
{
    std::istringstream stream(text);
    ScriptReader reader;
    return animator.read(reader, stream);
}

// One envelope with a single constant key.
std::string channel(int index, float value)
{
    return "Channel " + std::to_string(index) + "\n{ Envelope\n1\nKey " + std::to_string(value) +
           " 0 0 0 0 0 0 0 0 0\nBehaviors 1 1\n";
}

// The modelview matrix an animator's apply leaves, as row-major rows.
Matrix4x4 appliedMatrix(Animator& animator)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    animator.apply();
    Matrix4x4 m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
    animator.unapply();
    return m.transposed();
}

} // namespace

TEST(KeyframerLW, ChannelsGiveTheTransform)
{
    KeyframerLW k;
    ASSERT_TRUE(readBlock(k, channel(0, 1) + channel(1, 2) + channel(2, 3) + channel(3, 0.5f) +
                                 channel(4, 0.25f) + channel(5, -0.75f) + channel(6, 2) + channel(8, 4) +
                                 "}\n"));
    k.update(10.0f);
    EXPECT_EQ(k.translation, Vector3(1, 2, 3));
    EXPECT_EQ(k.scale, Vector3(2, 0, 4));
    EXPECT_EQ(k.h, -0.5f);
    EXPECT_EQ(k.p, -0.25f);
    EXPECT_EQ(k.b, 0.75f);
    EXPECT_EQ(k.rotation, Quaternion::fromMatrix(Matrix4x4::eulerYXZ(-0.5f, -0.25f, 0.75f)));
    std::ostringstream nothing;
    EXPECT_TRUE(k.write(nothing));
    EXPECT_EQ(nothing.str(), "");

    KeyframerLW onlyX;
    ASSERT_TRUE(readBlock(onlyX, channel(0, 5) + "}\n"));
    onlyX.update(0.0f);
    EXPECT_EQ(onlyX.scale, Vector3(0, 0, 0));
}

TEST(KeyframerLW, MalformedBlocksFail)
{
    const std::string bad[] = {
        channel(9, 1) + "}\n",
        channel(-1, 1) + "}\n",
        channel(0, 1), // the stream ends before "}"
        channel(0, 1) + "Speed 3\n",
        "Channel 2\n{ Envelope\n1\nKe 0 0\n}\n",
    };
    for (const std::string& text : bad) {
        KeyframerLW k;
        EXPECT_FALSE(readBlock(k, text)) << text;
        k.update(1.0f);
    }
}

class AnimatorApply : public GLTest {};

TEST_F(AnimatorApply, KeyframerTurnsLikeItsQuaternion)
{
    Keyframer k;
    ASSERT_TRUE(readBlock(k, "Translate {\nNumKeys 1\nKey 0 1 2 3\n}\nRotate {\nNumKeys 1\nKey 0 0 0 1 90\n}\n"
                             "Scale {\nNumKeys 1\nKey 0 2\n}\n}\n"));
    k.prepare();
    k.update(0.0f);
    // glRotatef turns +90 about z: x goes to y, then scale 2 and the translation.
    const Vector3 p = appliedMatrix(k).transformPoint({1, 0, 0});
    EXPECT_NEAR(p.x, 1.0f, 1e-5f);
    EXPECT_NEAR(p.y, 4.0f, 1e-5f);
    EXPECT_NEAR(p.z, 3.0f, 1e-5f);
}

TEST_F(AnimatorApply, KeyframerLWAnglesEqualItsRotation)
{
    KeyframerLW k;
    ASSERT_TRUE(readBlock(k, channel(0, 1) + channel(3, 0.7f) + channel(4, -0.4f) + channel(5, 1.1f) +
                                 channel(6, 1) + channel(7, 1) + channel(8, 1) + "}\n"));
    k.update(0.0f);
    // The three glRotatef calls of apply and one glRotatef with the quaternion's axis and angle
    // are the same turn.
    float angle;
    Vector3 axis;
    k.rotation.toAxisAngle(angle, axis);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 0, 0);
    glRotatef(angle * radToDeg, axis.x, axis.y, axis.z);
    Matrix4x4 expected;
    glGetFloatv(GL_MODELVIEW_MATRIX, expected.m);
    const Matrix4x4 applied = appliedMatrix(k);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(applied.m[i], expected.transposed().m[i], 1e-5f) << i;
}
