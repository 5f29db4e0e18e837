#include "animation/Keyframer.h"
#include "math/Angles.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// Reads a keyframer block (the lines after "Keyframer {") from text.
bool readBlock(Keyframer& keyframer, const std::string& text)
{
    std::istringstream stream(text);
    ScriptReader reader;
    return keyframer.read(reader, stream);
}

void expectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

bool finite(const Matrix4x4& m)
{
    for (float e : m.m)
        if (!std::isfinite(e))
            return false;
    return true;
}

} // namespace

TEST(Keyframer, WithoutTracksKeepsTheDefaults)
{
    Keyframer k;
    EXPECT_FALSE(readBlock(k, "}\n"));
    k.prepare();
    k.update(3.0f);
    EXPECT_EQ(k.translation, Vector3(0, 0, 0));
    EXPECT_EQ(k.rotation, Quaternion(0, 0, 1, 0));
    EXPECT_EQ(k.scale, Vector3(1, 1, 1));
    EXPECT_TRUE(k.visible);
    // A half turn about z, as a matrix, and its inverse.
    EXPECT_EQ(k.matrix.transformPoint({1, 2, 3}), Vector3(-1, -2, 3));
    EXPECT_EQ(k.inverseMatrix.transformPoint({-1, -2, 3}), Vector3(1, 2, 3));
}

TEST(Keyframer, TranslateKinds)
{
    Keyframer linear;
    ASSERT_TRUE(readBlock(linear, "Translate {\nType \"Linear\"\nNumKeys 2\nKey 0 0 0 0\nKey 2 2 4 6\n}\n}\n"));
    linear.prepare();
    for (auto [t, expected] : {std::pair{1.0f, Vector3(1, 2, 3)}, {-5.0f, Vector3(0, 0, 0)}, {9.0f, Vector3(2, 4, 6)}}) {
        linear.update(t);
        EXPECT_EQ(linear.translation, expected) << t;
    }

    // Spline: through every key, Catmull-Rom inside, the end keys standing in for missing
    // neighbours at the ends.
    Keyframer spline;
    ASSERT_TRUE(readBlock(spline, "Translate {\nNumKeys 5\nKey 0 0 0 0\nKey 1 1 0 0\nKey 2 3 0 0\n"
                                  "Key 3 6 0 0\nKey 4 10 0 0\n}\n}\n"));
    const float keys[] = {0, 1, 3, 6, 10};
    for (int i = 0; i < 5; ++i) {
        spline.update(float(i));
        EXPECT_FLOAT_EQ(spline.translation.x, keys[i]);
    }
    spline.update(1.5f); // 0.5·(2·1 + 3·0.5 + (0 - 5 + 12 - 6)·0.25 + (3 - 0 - 9 + 6)·0.125)
    EXPECT_FLOAT_EQ(spline.translation.x, 0.5f * (2 + 1.5f + 0.25f));
    spline.update(0.5f); // p0 repeated: 0.5·(0 + 1·0.5 + (0 - 0 + 4 - 3)·0.25 + (0 - 0 - 3 + 3)·0.125)
    EXPECT_FLOAT_EQ(spline.translation.x, 0.5f * (0.5f + 0.25f));
    spline.update(3.999f);
    EXPECT_NEAR(spline.translation.x, 10.0f, 0.01f);

    // Hermite: unit tangents over the keys taken as a closed loop. Key 0's tangent points back
    // towards the last key, so the first half-segment dips: 0.125·(-1) + 0.5·1 - 0.125·1.
    Keyframer hermite;
    ASSERT_TRUE(readBlock(hermite, "Translate {\nType \"Hermite\"\nNumKeys 3\nKey 0 0 0 0\n"
                                   "Key 1 1 0 0\nKey 2 2 0 0\n}\n}\n"));
    hermite.update(0.5f); // before prepare: no tangents, a plain cubic blend
    EXPECT_FLOAT_EQ(hermite.translation.x, 0.5f);
    hermite.prepare();
    hermite.update(0.5f);
    EXPECT_FLOAT_EQ(hermite.translation.x, 0.25f);
}

TEST(Keyframer, RotateKeysAccumulate)
{
    Keyframer k;
    ASSERT_TRUE(readBlock(k, "Rotate {\nNumKeys 3\nKey 0 0 1 0 0\nKey 1 0 1 0 90\nKey 2 0 1 0 90\n}\n}\n"));
    k.update(2.0f); // unprepared keys are used as written
    float angle;
    Vector3 axis;
    k.rotation.toAxisAngle(angle, axis);
    EXPECT_NEAR(angle * radToDeg, 90.0f, 1e-3f);
    k.prepare();
    k.prepare(); // preparing twice accumulates once
    k.update(2.0f);
    k.rotation.toAxisAngle(angle, axis);
    EXPECT_NEAR(angle * radToDeg, 180.0f, 1e-3f);
    expectNear(axis, {0, 1, 0});

    // HPR keys go through eulerXYZ and fromMatrix, which reads the stored (transposed) matrix:
    // 90 degrees about y comes out as the conjugate of the axis-angle key.
    Keyframer hpr;
    ASSERT_TRUE(readBlock(hpr, "Rotate {\nType \"HPR\"\nNumKeys 1\nKey 0 0 90 0\n}\n}\n"));
    hpr.update(0.0f);
    const Quaternion expected = Quaternion::fromAxisAngle(90 * degToRad, {0, 1, 0}).conjugate();
    EXPECT_NEAR(hpr.rotation.y, expected.y, 1e-6f);
    EXPECT_NEAR(hpr.rotation.w, expected.w, 1e-6f);
}

TEST(Keyframer, ScaleVisibleAndMatrix)
{
    Keyframer k;
    ASSERT_TRUE(readBlock(k, "Translate {\nType \"Linear\"\nNumKeys 1\nKey 0 5 0 0\n}\n"
                             "Rotate {\nNumKeys 1\nKey 0 0 0 1 90\n}\n"
                             "Scale {\nNumKeys 3\nKey 0 2\nKey 1 0\nKey 2 4\n}\n"
                             "Visible {\nNumKeys 3\nKey 1\nKey 3\nKey 5\n}\n}\n"));
    k.prepare();
    k.update(0.0f);
    // translation · rotation (transposed form: +90 turns x to -y) · scale 2
    expectNear(k.matrix.transformPoint({1, 0, 0}), {5, -2, 0});
    expectNear(k.inverseMatrix.transformPoint({5, -2, 0}), {1, 0, 0});
    k.update(1.0f); // scale 0: the matrix leaves the scale out and stays invertible
    EXPECT_EQ(k.scale, Vector3(0, 0, 0));
    expectNear(k.matrix.transformPoint({1, 0, 0}), {5, -1, 0});
    // Visible keys toggle: hidden, shown from 1, hidden from 3, shown again from 5.
    const std::pair<float, bool> visibility[] = {{0, false}, {1, true}, {2.9f, true}, {3, false}, {6, true}};
    for (auto [t, shown] : visibility) {
        k.update(t);
        EXPECT_EQ(k.visible, shown) << t;
    }
    Keyframer onlyVisible;
    EXPECT_FALSE(readBlock(onlyVisible, "Visible {\nNumKeys 1\nKey 0\n}\n}\n"));
}

TEST(Keyframer, MalformedBlocksFail)
{
    const char* bad[] = {
        "Translate {\nType \"linear\"\nNumKeys 1\nKey 0 0 0 0\n}\n}\n", // kind names are exact
        "Rotate {\nType \"Linear\"\nNumKeys 1\n}\n}\n",
        "Translate {\nNumKeys 1\nType \"Linear\"\n}\n}\n", // kind after NumKeys
        "Translate {\nNumKeys 0\n}\n}\n",
        "Scale {\nNumKeys -3\n}\n}\n",
        "Scale {\nType \"Linear\"\nNumKeys 1\n}\n}\n", // Scale has no kinds
        "Translate {\nKey 0 1 2 3\nNumKeys 1\n}\n}\n", // Key before NumKeys
        "Translate {\nNumKeys 1\n; only a comment\n}\n}\n",
        "Scale {\nNumKeys 1\nKey 0 1\n}\nColour 1 1 1\n}\n",
    };
    for (const char* text : bad) {
        Keyframer k;
        EXPECT_FALSE(readBlock(k, text)) << text;
        k.prepare();
        k.update(0.5f);
    }
}

TEST(Keyframer, KeyCountsAndUnterminatedBlocks)
{
    // Keys beyond NumKeys are dropped; a huge NumKeys reserves nothing beyond the lines given.
    Keyframer k;
    ASSERT_TRUE(readBlock(k, "Scale {\nNumKeys 2\nKey 0 1\nKey 1 2\nKey 2 3\n}\n"
                             "Translate {\nNumKeys 2000000000\nKey 0 1 1 1\n}\n}\n"));
    EXPECT_EQ(k.scaleTrack->count(), 2);
    EXPECT_EQ(k.translateTrack->count(), 1);
    EXPECT_EQ(k.translateTrack->capacity(), 2000000000);
    // Numbers that do not convert repeat the previous Key line's; end of input closes blocks.
    Keyframer partial;
    ASSERT_TRUE(readBlock(partial, "Translate {\nType \"Linear\"\nNumKeys 3\nKey 0 1 2 3\nKey 1 4\nKey 2"));
    partial.update(1.0f);
    EXPECT_EQ(partial.translation, Vector3(4, 2, 3));
    partial.update(2.0f);
    EXPECT_EQ(partial.translation, Vector3(4, 2, 3));
    EXPECT_EQ(partial.translateTrack->time(2), 2.0f);
}

TEST(Keyframer, SharedAndDisorderedTimesStayFinite)
{
    Keyframer same;
    ASSERT_TRUE(readBlock(same, "Translate {\nType \"Linear\"\nNumKeys 4\nKey 0 0 0 0\nKey 1 1 0 0\n"
                                "Key 1 5 0 0\nKey 2 6 0 0\n}\n"
                                "Rotate {\nNumKeys 3\nKey 0 0 0 1 0\nKey 1 0 0 1 30\nKey 1 0 0 1 60\n}\n"
                                "Scale {\nNumKeys 3\nKey 0 1\nKey 1 2\nKey 1 3\n}\n}\n"));
    same.prepare();
    // At a time two keys share, the later key applies.
    same.update(1.0f);
    EXPECT_EQ(same.translation.x, 5.0f);
    EXPECT_EQ(same.scale.x, 3.0f);

    for (const char* kind : {"Linear", "Spline", "Hermite"}) {
        Keyframer k;
        const std::string text = std::string("Translate {\nType \"") + kind +
                                 "\"\nNumKeys 5\nKey 3 1 0 0\nKey 1 2 0 0\nKey 1 3 0 0\nKey 0 4 0 0\nKey 2 5 0 0\n}\n"
                                 "Rotate {\nNumKeys 3\nKey 2 1 0 0 10\nKey 1 0 1 0 20\nKey 1 0 0 0 30\n}\n"
                                 "Scale {\nNumKeys 3\nKey 2 1\nKey 2 0\nKey 0 3\n}\n}\n";
        ASSERT_TRUE(readBlock(k, text));
        k.prepare();
        for (float t = -1.0f; t <= 4.0f; t += 0.125f) {
            k.update(t);
            EXPECT_TRUE(finite(k.matrix) && finite(k.inverseMatrix)) << kind << " at " << t;
        }
    }
}

TEST(Keyframer, WritesTextThatReadsBackUnchanged)
{
    Keyframer k;
    ASSERT_TRUE(readBlock(k, "Translate {\nType \"Hermite\"\nNumKeys 3\nKey 0 0.1 -2.5 1e-7\n"
                             "Key 1.333333 12345.678 0 3\nKey 2.5 -1 1 0.3333333\n}\n"
                             "Rotate {\nType \"HPR\"\nNumKeys 3\nKey 0 10 20 30\nKey 1 0 0.01 0\nKey 2 -45 90 0\n}\n"
                             "Scale {\nNumKeys 2\nKey 0 0.7\nKey 3 1.1\n}\n"
                             "Visible {\nNumKeys 2\nKey 0.25\nKey 2.75\n}\n}\n"));
    std::ostringstream first;
    ASSERT_TRUE(k.write(first));
    EXPECT_TRUE(first.str().starts_with(
        "\tKeyframer {\n\t\tTranslate {\n\t\t\tType \"Hermite\"\n\t\t\tNumKeys 3\n\t\t\tKey 0 0.1 -2.5 1e-07\n"))
        << first.str();
    EXPECT_TRUE(first.str().ends_with(
        "\t\tVisible {\n\t\t\tNumKeys 2\n\t\t\tKey 0.25\n\t\t\tKey 2.75\n\t\t}\n\t}\n"));

    Keyframer back;
    std::istringstream stream(first.str());
    ScriptReader reader;
    ASSERT_TRUE(reader.next(stream) && reader.contains("Keyframer {"));
    ASSERT_TRUE(back.read(reader, stream));
    std::ostringstream second;
    ASSERT_TRUE(back.write(second));
    EXPECT_EQ(second.str(), first.str());

    k.prepare();
    back.prepare();
    for (float t = -0.5f; t <= 3.5f; t += 0.0625f) {
        k.update(t);
        back.update(t);
        EXPECT_EQ(back.translation, k.translation) << t;
        EXPECT_EQ(back.scale, k.scale) << t;
        EXPECT_EQ(back.visible, k.visible) << t;
        // HPR keys are written as axis and angle: equal up to float rounding.
        EXPECT_NEAR(dot(back.rotation, k.rotation), 1.0f, 1e-6f) << t;
    }
}
