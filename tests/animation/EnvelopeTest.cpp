#include "animation/Envelope.h"
#include "script/ScriptReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

EnvelopeKey key(float value, float time, short shape = EnvelopeKey::TCB)
{
    EnvelopeKey k;
    k.value = value;
    k.time = time;
    k.shape = shape;
    return k;
}

Envelope envelope(std::vector<EnvelopeKey> keys, short pre = Envelope::Constant, short post = Envelope::Constant)
{
    Envelope e;
    e.keys = std::move(keys);
    e.preBehaviour = pre;
    e.postBehaviour = post;
    return e;
}

bool readText(Envelope& e, const std::string& text, std::string* rest = nullptr)
{
    std::istringstream stream(text);
    ScriptReader reader;
    const bool ok = e.read(reader, stream);
    if (rest)
        *rest = reader.readLine(stream);
    return ok;
}

// Kochanek-Bartels Hermite segment p1 -> p2 on uniformly spaced keys, written from the textbook
// tangent formulas.
float kochanekBartels(float p0, float p1, float p2, float p3, float t, float c, float b, float u)
{
    const float out1 = (1 - t) * (1 + b) * (1 + c) / 2 * (p1 - p0) + (1 - t) * (1 - b) * (1 - c) / 2 * (p2 - p1);
    const float in2 = (1 - t) * (1 + b) * (1 - c) / 2 * (p2 - p1) + (1 - t) * (1 - b) * (1 + c) / 2 * (p3 - p2);
    const float u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * p1 + (u3 - 2 * u2 + u) * out1 + (-2 * u3 + 3 * u2) * p2 + (u3 - u2) * in2;
}

} // namespace

TEST(Envelope, ReadsTheBlockAndLeavesTheClosingLine)
{
    Envelope e;
    std::string rest;
    ASSERT_TRUE(readText(e, "{ Envelope\n  2\n  Key 1.5 0 3 0.1 0.2 0.3 1 2 3 4\n"
                            "  Key 2.5 4 5 0 0 0 0 0 0 0\n  Behaviors 2 4\n}\nNext\n", &rest));
    EXPECT_EQ(rest, "}");
    ASSERT_EQ(e.keys.size(), 2u);
    const EnvelopeKey& k = e.keys[0];
    EXPECT_EQ(k.value, 1.5f);
    EXPECT_EQ(k.shape, EnvelopeKey::Linear);
    EXPECT_EQ(k.bias, 0.3f);
    EXPECT_EQ(k.param[3], 4.0f);
    EXPECT_EQ(e.keys[1].shape, EnvelopeKey::Bezier2D);
    EXPECT_EQ(e.preBehaviour, Envelope::Repeat);
    EXPECT_EQ(e.postBehaviour, Envelope::Offset);

    // "}" within the counted lines ends the envelope early.
    ASSERT_TRUE(readText(e, "{ Envelope\n3\nKey 7 0 0 0 0 0 0 0 0 0\n}\n"));
    EXPECT_EQ(e.keys.size(), 1u);
    EXPECT_EQ(e.evaluate(100.0f), 7.0f);
    // No keys: zero everywhere.
    ASSERT_TRUE(readText(e, "{ Envelope\n0\nBehaviors 1 1\n"));
    EXPECT_EQ(e.evaluate(1.0f), 0.0f);

    const char* bad[] = {
        "Envelope\n1\nKey 0 0 0 0 0 0 0 0 0 0\nBehaviors 1 1\n",     // no "{ Envelope"
        "{ Envelope\n1\nKey 0 0 0 0 0 0 0 0 0 0\nBehavior 1 1\n",    // unknown line
        "{ Envelope\n2\nKey 0 0 0 0 0 0 0 0 0 0\nBehaviors 1 1\n",   // ends before the count's lines
        "{ Envelope\n2147483647\nKey 0 0 0 0 0 0 0 0 0 0\n",         // a huge count meets the end
        "{ Envelope\n-1\n",
        "",
    };
    for (const char* text : bad)
        EXPECT_FALSE(readText(e, text)) << text;
}

TEST(Envelope, LoadsEnvelopeFiles)
{
    const std::string dir = testfiles::tempDir("envelope");
    testfiles::writeFile(dir + "/good.envelope", "{ Envelope\n1\nKey 3 0 0 0 0 0 0 0 0 0\nBehaviors 1 1\n");
    testfiles::writeFile(dir + "/bad.envelope", "{ Envelope\n1\nWhat\n");
    Envelope e;
    EXPECT_EQ(e.load(dir + "/good.envelope"), Envelope::LoadResult::Loaded);
    EXPECT_EQ(e.evaluate(5.0f), 3.0f);
    EXPECT_EQ(e.load(dir + "/bad.envelope"), Envelope::LoadResult::ReadFailed);
    EXPECT_EQ(e.load(dir + "/missing.envelope"), Envelope::LoadResult::OpenFailed);
}

TEST(Envelope, ShapesAtKnownPoints)
{
    EXPECT_EQ(envelope({key(0, 0), key(10, 1, EnvelopeKey::Linear)}).evaluate(0.5f), 5.0f);
    // Stepped holds the previous value up to its own time.
    const Envelope stepped = envelope({key(1, 0), key(5, 2, EnvelopeKey::Stepped)});
    EXPECT_EQ(stepped.evaluate(1.999f), 1.0f);
    EXPECT_EQ(stepped.evaluate(2.0f), 5.0f);
    // TCB with zero parameters: outgoing slope b·d = 1, incoming 0.5·((0 - 1) + 1) = 0.
    EXPECT_FLOAT_EQ(envelope({key(0, 0), key(1, 1), key(0, 2)}).evaluate(0.5f), 0.625f);
    // Hermite and Bezier take their tangents from the parameters (scaled when a neighbour exists).
    EnvelopeKey a = key(0, 0, EnvelopeKey::Hermite), b = key(1, 1, EnvelopeKey::Hermite);
    a.param[1] = 2.0f;
    b.param[0] = -1.0f;
    // h1·0 + h2·1 + h3·2 + h4·(-1) at u = 0.5
    EXPECT_FLOAT_EQ(envelope({a, b}).evaluate(0.5f), 0.5f + 0.25f + 0.125f);
    b.shape = EnvelopeKey::Bezier;
    EXPECT_FLOAT_EQ(envelope({a, b}).evaluate(0.5f), 0.875f);
    EXPECT_EQ(envelope({key(3, 0), key(1, 1, 9)}).evaluate(0.5f), 0.0f); // unknown shape
}

TEST(Envelope, TcbMatchesKochanekBartels)
{
    const float values[] = {0.0f, 2.0f, 1.0f, 3.0f};
    for (float t : {-1.0f, 0.0f, 1.0f})
        for (float c : {-1.0f, 0.0f, 1.0f})
            for (float b : {-1.0f, 0.0f, 1.0f}) {
                std::vector<EnvelopeKey> keys;
                for (int i = 0; i < 4; ++i) {
                    keys.push_back(key(values[i], float(i)));
                    keys.back().tension = t;
                    keys.back().continuity = c;
                    keys.back().bias = b;
                }
                const Envelope e = envelope(keys);
                for (float u : {0.1f, 0.5f, 0.8f})
                    EXPECT_NEAR(e.evaluate(1.0f + u), kochanekBartels(0, 2, 1, 3, t, c, b, u), 1e-5f)
                        << "t " << t << " c " << c << " b " << b << " u " << u;
            }
}

TEST(Envelope, Bezier2DFollowsItsControlPolygon)
{
    EnvelopeKey k0 = key(1, 0, EnvelopeKey::Bezier2D), k1 = key(4, 3, EnvelopeKey::Bezier2D);
    k0.param[2] = 0.5f; // outgoing handle (time, value) offsets
    k0.param[3] = 2.0f;
    k1.param[0] = -1.5f; // incoming handle
    k1.param[1] = 1.0f;
    const Envelope e = envelope({k0, k1});
    const float px[] = {0, 0.5f, 1.5f, 3}, py[] = {1, 3, 5, 4};
    for (float s = 0.05f; s < 1.0f; s += 0.1f) {
        const float w[] = {(1 - s) * (1 - s) * (1 - s), 3 * (1 - s) * (1 - s) * s, 3 * (1 - s) * s * s, s * s * s};
        float x = 0, y = 0;
        for (int i = 0; i < 4; ++i) {
            x += w[i] * px[i];
            y += w[i] * py[i];
        }
        EXPECT_NEAR(e.evaluate(x), y, 1e-3f) << "s " << s;
    }
    // Far from 0 the floats are coarser than the bisection's goal: it must still end.
    k0.time += 50000.0f;
    k1.time += 50000.0f;
    EXPECT_TRUE(std::isfinite(envelope({k0, k1}).evaluate(50001.3f)));
}

TEST(Envelope, BehavioursOutsideTheKeys)
{
    const std::vector<EnvelopeKey> ramp = {key(0, 0), key(4, 2, EnvelopeKey::Linear)};
    const Envelope repeat = envelope(ramp, Envelope::Repeat, Envelope::Repeat);
    EXPECT_FLOAT_EQ(repeat.evaluate(5.0f), repeat.evaluate(1.0f));
    const Envelope oscillate = envelope(ramp, Envelope::Oscillate, Envelope::Oscillate);
    EXPECT_FLOAT_EQ(oscillate.evaluate(3.0f), 2.0f);  // like time 1
    EXPECT_FLOAT_EQ(oscillate.evaluate(3.5f), 1.0f);  // like time 0.5
    EXPECT_FLOAT_EQ(oscillate.evaluate(4.5f), 1.0f);  // two periods: forwards again
    EXPECT_FLOAT_EQ(oscillate.evaluate(-0.5f), 1.0f); // mirrored before the first key
    // Keys that don't start at 0 mirror within their own range.
    const Envelope shifted = envelope({key(0, 1), key(4, 3, EnvelopeKey::Linear)}, Envelope::Oscillate,
                                      Envelope::Oscillate);
    EXPECT_FLOAT_EQ(shifted.evaluate(4.5f), 1.0f);
    const Envelope offset = envelope(ramp, Envelope::Offset, Envelope::Offset);
    EXPECT_FLOAT_EQ(offset.evaluate(3.0f), 2.0f + 4.0f);
    EXPECT_FLOAT_EQ(offset.evaluate(-1.0f), 2.0f - 4.0f);
    const Envelope held = envelope({key(7, 0), key(4, 2, EnvelopeKey::Linear)}, Envelope::Constant, Envelope::Reset);
    EXPECT_EQ(held.evaluate(-3.0f), 7.0f);
    EXPECT_EQ(held.evaluate(3.0f), 0.0f);
    // Linear extends the end slopes.
    const Envelope linear = envelope(ramp, Envelope::Linear, Envelope::Linear);
    EXPECT_FLOAT_EQ(linear.evaluate(3.0f), 6.0f);
    EXPECT_FLOAT_EQ(linear.evaluate(-1.0f), -2.0f);
}

TEST(Envelope, DegenerateKeysStayFinite)
{
    const short behaviours[] = {Envelope::Reset, Envelope::Constant, Envelope::Repeat, Envelope::Oscillate,
                                Envelope::Offset, Envelope::Linear, 77};
    const std::vector<std::vector<EnvelopeKey>> cases = {
        {key(1, 1), key(2, 1), key(3, 1)},                                    // no time range
        {key(1, 0), key(2, 0), key(3, 1), key(4, 1, EnvelopeKey::Bezier2D)},  // shared times
        {key(1, 2), key(2, 0, EnvelopeKey::Linear), key(3, 1), key(0, -1)},   // out of order
        {key(1, 0, EnvelopeKey::Bezier2D), key(2, 1e-30f, EnvelopeKey::Bezier2D)},
    };
    for (const auto& keys : cases)
        for (short pre : behaviours)
            for (short post : behaviours) {
                const Envelope e = envelope(keys, pre, post);
                for (float t : {-1e30f, -3.0f, -0.5f, 0.0f, 0.5f, 1.0f, 1.5f, 2.5f, 7.0f, 1e30f})
                    EXPECT_TRUE(std::isfinite(e.evaluate(t))) << pre << " " << post << " at " << t;
            }
}
