// The procedural kinds read from scripts and stepped without drawing: keyword order, their own
// errors, the tube's shape, the tiles' flight home and the bars' bounces.
#include "effects/BlocksEffect.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/LinesEffect.h"
#include "effects/TunnelEffect.h"
#include "effects/WaveLinesEffect.h"
#include "core/Random.h"
#include "geometry/Mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

namespace {

class ProceduralEffectsTest : public ::testing::Test {
protected:
    void SetUp() override { show::resetRandom(); }

    bool load(const std::string& text)
    {
        std::istringstream stream(text);
        return loader.load(stream, "procedural.effect");
    }
    template <class E>
    E* pending(std::size_t i)
    {
        auto it = timeline.pending().begin();
        std::advance(it, i);
        return dynamic_cast<E*>(it->get());
    }
    std::string thrownBy(const std::string& text)
    {
        try {
            load(text);
        } catch (const ImageScriptException& e) {
            return e.what();
        }
        return "";
    }

    EffectTimeline timeline;
    EffectLoader loader{&timeline};
};

TEST_F(ProceduralEffectsTest, KeywordsThatHoldOtherKeywordsAreTestedFirst)
{
    ASSERT_TRUE(load("Lines {\n  NumLines 3\n  AlphaSpeed 2\n  AlphaVariance 3\n  Speed 40\n"
                     "  Variance 5\n  Color 1 0.5 0.25 0.75\n}\n"
                     "Blocks {\n  TexRect 0.25 0.5 0.75 1\n  Rect -100 -50 200 100\n  Rows 2\n"
                     "  Cols 3\n  Position 1 2 -3\n  Distance 7\n}\n"
                     "Tunnel {\n  Size 16 8\n  Length 200\n  Speed 0.5\n  Linear 1 2 3 4\n"
                     "  Circular 5 6 7 8 9\n  Params 1 2 3 4 5 6\n  Shader \"missing\"\n}\n"));
    auto* lines = pending<LinesEffect>(0);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->lineCount, 3);
    EXPECT_FLOAT_EQ(lines->alphaSpeed, 2.0f);
    EXPECT_FLOAT_EQ(lines->alphaVariance, 3.0f);
    EXPECT_FLOAT_EQ(lines->speed, 40.0f);
    EXPECT_FLOAT_EQ(lines->variance, 5.0f);
    EXPECT_FLOAT_EQ(lines->colour[3], 0.75f);

    auto* blocks = pending<BlocksEffect>(1);
    ASSERT_NE(blocks, nullptr);
    EXPECT_FLOAT_EQ(blocks->s0, 0.25f);
    EXPECT_FLOAT_EQ(blocks->t1, 1.0f);
    EXPECT_FLOAT_EQ(blocks->x, -100.0f);  // "TexRect " did not count as "Rect "
    EXPECT_FLOAT_EQ(blocks->height, 100.0f);
    EXPECT_EQ(blocks->rows, 2);
    EXPECT_EQ(blocks->cols, 3);
    EXPECT_FLOAT_EQ(blocks->centre.z, -3.0f);
    EXPECT_FLOAT_EQ(blocks->distance, 7.0f);

    auto* tunnel = pending<TunnelEffect>(2);
    ASSERT_NE(tunnel, nullptr);
    EXPECT_EQ(tunnel->around, 16);
    EXPECT_EQ(tunnel->along, 8);
    EXPECT_FLOAT_EQ(tunnel->length, 200.0f);
    EXPECT_FLOAT_EQ(tunnel->speed, 0.5f);
    EXPECT_FLOAT_EQ(tunnel->linear[3], 4.0f);
    EXPECT_FLOAT_EQ(tunnel->circular[2], 7.0f);  // the numbers after the third are ignored
    EXPECT_FLOAT_EQ(tunnel->phases[5], 6.0f);
    EXPECT_FALSE(tunnel->material);  // no library, no material: drawn plain
}

TEST_F(ProceduralEffectsTest, UnknownLinesRaiseForTunnelAndBlocksAndStopTheLoaderForLines)
{
    EXPECT_EQ(thrownBy("Tunnel {\n  Colour 1 1 1 1\n}\n"), "TunnelEffect unknown token");
    EXPECT_EQ(thrownBy("Blocks {\n  Speed 1\n}\n"), "BlocksEffect unknown token");
    EXPECT_TRUE(timeline.pending().empty());
    EXPECT_FALSE(load("Flash {\n}\nLines {\n  NumLines 2\n  Shader \"x\"\n}\nFlash {\n}\n"));
    EXPECT_EQ(timeline.pending().size(), 1u);
}

TEST_F(ProceduralEffectsTest, TunnelMeshClosesOnItsFirstUpdateWithUnitNormals)
{
    ASSERT_TRUE(load("Tunnel {\n  Size 16 8\n  Length 100\n  End 10\n}\n"
                     "Tunnel {\n  Size 1 8\n}\n"
                     "Tunnel {\n  Size 100000 100000\n}\n"));
    timeline.prepareAll();
    auto* tunnel = pending<TunnelEffect>(0);
    ASSERT_TRUE(tunnel->mesh);
    const Mesh& mesh = *tunnel->mesh;
    EXPECT_EQ(mesh.vertices.size(), 128);
    EXPECT_EQ(mesh.faces.size(), 210);
    EXPECT_EQ(mesh.texCoords[0].size(), 128);
    EXPECT_FLOAT_EQ(mesh.vertices[8 * 16 - 1].position.z, (-0.5f + 7.0f / 8.0f) * 100.0f);
    // Too thin to be a tube, or too big to hold: no mesh, and nothing to fail later.
    EXPECT_FALSE(pending<TunnelEffect>(1)->mesh);
    EXPECT_FALSE(pending<TunnelEffect>(2)->mesh);

    // No speed and no waves: the axis point of the ripple (h = 0) must not poison the normals.
    timeline.update(1.0f);
    for (int i = 0; i < 8; ++i) {
        const Vector3& first = mesh.vertices[i * 16].position;
        const Vector3& last = mesh.vertices[i * 16 + 15].position;
        EXPECT_NEAR(first.x, last.x, 1e-4f) << "ring " << i;
        EXPECT_NEAR(first.y, last.y, 1e-4f) << "ring " << i;
    }
    for (const MeshVertex& v : mesh.vertices) {
        const Vector3& n = v.normal;
        EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-5f);
        EXPECT_NEAR(std::hypot(v.position.x, v.position.y), 10.0f, 1e-4f);
    }
}

TEST_F(ProceduralEffectsTest, TunnelRipplesAndScrollsWithTheStep)
{
    ASSERT_TRUE(load("Tunnel {\n  Size 8 4\n  Length 40\n  Circular 0 1 0.5\n"
                     "  Params 0 0 0 0 2 -1\n  Start 1\n  End 10\n}\n"));
    timeline.prepareAll();
    auto* tunnel = pending<TunnelEffect>(0);
    const Mesh& mesh = *tunnel->mesh;
    timeline.update(1.0f);  // first step 0.001 s
    timeline.update(1.5f);
    // Texture coordinates scroll by step x rate: 0.501 s at 2 and -1 per second.
    EXPECT_NEAR(mesh.texCoords[0][0].u, 0.0f + 0.501f * 2.0f, 1e-4f);
    EXPECT_NEAR(mesh.texCoords[0][0].v, 0.0f - 0.501f, 1e-4f);
    // Radius 10 - 2 C2 sin(C1 h): the ripple reaches into the tube.
    float smallest = 10.0f;
    for (const MeshVertex& v : mesh.vertices)
        smallest = std::min(smallest, std::hypot(v.position.x, v.position.y));
    EXPECT_LT(smallest, 9.5f);
    EXPECT_GE(smallest, 9.0f - 1e-4f);
}

TEST_F(ProceduralEffectsTest, BlocksWithTheDefaultCentreAreAtRestFromTheStart)
{
    ASSERT_TRUE(load("Blocks {\n  Rect -256 -256 512 512\n  Rows 2\n  Cols 2\n  End 10\n}\n"));
    timeline.prepareAll();
    auto* blocks = pending<BlocksEffect>(0);
    ASSERT_EQ(blocks->blocks.size(), 4u);
    const auto before = blocks->blocks;
    timeline.update(1.0f);
    timeline.update(2.0f);
    for (std::size_t k = 0; k < before.size(); ++k) {
        EXPECT_TRUE(blocks->blocks[k].atRest());
        EXPECT_FLOAT_EQ(blocks->blocks[k].corners[2].x, before[k].corners[2].x);
        EXPECT_FLOAT_EQ(blocks->blocks[k].angle, before[k].angle);  // turned, and stays turned
    }
}

TEST_F(ProceduralEffectsTest, BlocksFlyHomeWhileTurningBack)
{
    ASSERT_TRUE(load("Blocks {\n  Rect -200 -100 400 200\n  TexRect 0 0 1 1\n  Rows 2\n  Cols 4\n"
                     "  Position 0 0 -100\n  Distance 50\n  End 100\n}\n"));
    timeline.prepareAll();
    auto* blocks = pending<BlocksEffect>(0);
    ASSERT_EQ(blocks->blocks.size(), 8u);
    // Row 0 is the top row; its second tile spans x -100..0, y 0..100, texture s 0.25..0.5.
    const BlocksEffect::Block& tile = blocks->blocks[1];
    EXPECT_FLOAT_EQ(tile.s[0], 0.5f);
    EXPECT_FLOAT_EQ(tile.s[1], 0.25f);
    EXPECT_FLOAT_EQ(tile.t[0], 0.0f);
    EXPECT_FLOAT_EQ(tile.t[2], 0.5f);
    for (const auto& b : blocks->blocks) {
        EXPECT_GT(b.corners[0].z, 0.0f);
        EXPECT_GE(b.angle, 360.0f);
        EXPECT_LE(b.angle, 3 * 360.0f);
    }
    for (float t = 1.0f; t < 5.0f; t += 0.01f)
        timeline.update(t);
    const float home[4][2] = {{0, 100}, {-100, 100}, {-100, 0}, {0, 0}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(tile.corners[k].z, 0.0f);
        EXPECT_NEAR(tile.corners[k].x, home[k][0], 1.0f);
        EXPECT_NEAR(tile.corners[k].y, home[k][1], 1.0f);
    }
    EXPECT_FLOAT_EQ(tile.angle, 0.0f);
    EXPECT_NEAR(tile.centre.x, -50.0f, 1.0f);
}

TEST_F(ProceduralEffectsTest, LinesBounceOffTheEdgesAndDrawFromTheSharedGenerator)
{
    ASSERT_TRUE(load("Lines {\n  NumLines 4\n  Speed 100\n  Start 1\n  End 100\n}\nLines {\n  End 100\n}\n"));
    const int firstDraw = [] {
        show::resetRandom();
        return show::random();
    }();
    show::resetRandom();
    timeline.prepareAll();
    auto* lines = pending<LinesEffect>(0);
    ASSERT_EQ(lines->lines.size(), 4u);
    EXPECT_FLOAT_EQ(lines->lines[0].x, float(firstDraw) * 0.019531846f);
    for (const auto& line : lines->lines) {
        EXPECT_GE(line.width, 1.5f);
        EXPECT_LE(line.width, 11.0f);
        EXPECT_FLOAT_EQ(std::fabs(line.velocity), 100.0f);  // no variance
    }
    EXPECT_TRUE(pending<LinesEffect>(1)->lines.empty());

    LinesEffect::Line& line = lines->lines[0];
    line.x = 639.0f;
    line.velocity = 100.0f;
    timeline.update(1.0f);
    timeline.update(1.1f);
    EXPECT_FLOAT_EQ(line.x, 640.0f);
    EXPECT_FLOAT_EQ(line.velocity, -100.0f);
    timeline.update(1.2f);
    EXPECT_NEAR(line.x, 630.0f, 1e-3f);
    line.x = 1.0f;
    timeline.update(1.3f);
    EXPECT_FLOAT_EQ(line.x, 0.0f);
    EXPECT_FLOAT_EQ(line.velocity, 100.0f);
    for (const auto& l : lines->lines) {
        EXPECT_GE(l.alpha, 0.0f);
        EXPECT_LE(l.alpha, 1.0f);
    }
}

} // namespace

namespace {

float apart(const Vector3& a, const Vector3& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST_F(ProceduralEffectsTest, WaveLinesKeywordsAndTheirOwnError)
{
    ASSERT_TRUE(load("WaveLines {\n  FlareColor 1 0 0 0.5\n  Color 0 1 0 0.25\n  Shader \"a\"\n"
                     "  Flare \"b\"\n}\n"));
    auto* waves = pending<WaveLinesEffect>(0);
    ASSERT_NE(waves, nullptr);
    EXPECT_FLOAT_EQ(waves->flareColour[0], 1.0f);
    EXPECT_FLOAT_EQ(waves->flareColour[3], 0.5f);
    EXPECT_FLOAT_EQ(waves->lineColour[0], 0.0f);  // "FlareColor " did not count as "Color "
    EXPECT_FLOAT_EQ(waves->lineColour[3], 0.25f);
    EXPECT_EQ(thrownBy("WaveLines {\n  Speed 2\n}\n"), "WaveLinesEffect unknown token");
}

TEST_F(ProceduralEffectsTest, WaveLinesBendFromFixedHeadsAndStandStillWithoutTime)
{
    ASSERT_TRUE(load("WaveLines {\n  End 100\n}\n"));
    timeline.prepareAll();
    auto* waves = pending<WaveLinesEffect>(0);
    for (int c = 0; c < WaveLinesEffect::kChains; ++c) {
        const auto& points = waves->chains[c].points;
        const Vector3 d = WaveLinesEffect::axisDirection(c);
        EXPECT_FLOAT_EQ(points[12].position.x, 12.0f * d.x);
        EXPECT_FLOAT_EQ(points[12].position.z, 12.0f * d.z);
        EXPECT_FLOAT_EQ(points[0].alpha, 1.0f);
        EXPECT_FLOAT_EQ(points[1].alpha, 1.0f);
        EXPECT_NEAR(points[12].alpha, 1.0f / 12.0f, 1e-6f);
        for (const auto& p : points) {
            EXPECT_LE(std::fabs(p.speedA), std::numbers::pi_v<float> / 8);
            EXPECT_LE(std::fabs(p.speedB), std::numbers::pi_v<float> / 8);
        }
    }
    EXPECT_NE(waves->chains[0].points[0].speedA, waves->chains[0].points[0].speedB);

    for (float t = 1.0f; t < 30.0f; t += 0.25f)
        timeline.update(t);
    const auto bent = waves->chains;
    timeline.update(29.75f);  // the same time again: a step of 0
    bool moved = false;
    for (int c = 0; c < WaveLinesEffect::kChains; ++c) {
        const auto& points = waves->chains[c].points;
        EXPECT_FLOAT_EQ(points[0].position.x, 0.0f);
        EXPECT_FLOAT_EQ(points[0].position.y, 0.0f);
        for (int k = 0; k < WaveLinesEffect::kPoints; ++k) {
            EXPECT_FLOAT_EQ(points[k].position.x, bent[c].points[k].position.x);
            EXPECT_FLOAT_EQ(points[k].position.y, bent[c].points[k].position.y);
            EXPECT_FLOAT_EQ(points[k].position.z, bent[c].points[k].position.z);
            if (k > 0) {
                EXPECT_NEAR(apart(points[k].position, points[k - 1].position), 1.0f, 1e-4f);
                moved = moved || apart(points[k].position, {0, 0, 0}) < float(k) - 1e-3f;
            }
        }
        // The wandering angles turn back once past a quarter turn's half, so no link runs off.
        for (const auto& p : points)
            EXPECT_LT(std::fabs(p.angleA), 0.7853982f + 30.0f * 1.5f * 0.25f * 0.4f);
    }
    EXPECT_TRUE(moved);
}

} // namespace
