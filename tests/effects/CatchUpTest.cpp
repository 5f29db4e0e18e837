// Entering an effect's window late (a start, seek or reload inside it): the stateful kinds come
// out where a play from the beginning has them. Each case loads one script twice with the
// generator reset before each: one copy played frame by frame at 60 frames a second from 0, the
// other switched on alone at the later time. The sub-steps of a catch-up fall on the same frame
// times (Start lies on the frame grid), so the generator hands both copies the same draws and the
// states agree to float rounding of the frame times.
#include "GLFixture.h"
#include "core/Random.h"
#include "effects/BlocksEffect.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/LinesEffect.h"
#include "effects/ParticleEffect.h"
#include "effects/TunnelEffect.h"
#include "effects/WaveLinesEffect.h"
#include "geometry/Mesh.h"
#include "material/MaterialLibrary.h"

#include <cmath>
#include <memory>
#include <sstream>

namespace {

constexpr int kFps = 60;

// Frame k of a 60-frames-a-second play from 0.
float frameTime(int k) { return float(double(k) / kFps); }

class CatchUpTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        white = new Material("white");
        library.add(white);
        white->addRef();
    }
    void TearDown() override
    {
        played.clear();
        entered.clear();
        GLTest::TearDown();
    }
    static void load(EffectTimeline& timeline, const std::string& script)
    {
        show::resetRandom();
        EffectLoader loader{&timeline};
        std::istringstream stream(script);
        ASSERT_TRUE(loader.load(stream, "catchup.effect"));
        timeline.prepareAll();
    }
    // Plays one copy through frames 0..lastFrame and switches the other on at the last one.
    template <class E>
    void playBoth(const std::string& script, int lastFrame, E*& fromStart, E*& late)
    {
        load(played, script);
        fromStart = dynamic_cast<E*>(played.pending().front().get());
        for (int k = 0; k <= lastFrame; ++k)
            played.update(frameTime(k));
        load(entered, script);
        late = dynamic_cast<E*>(entered.pending().front().get());
        entered.update(frameTime(lastFrame));
        ASSERT_TRUE(fromStart && late);
    }
    static void expectNear(const Vector3& a, const Vector3& b, float tolerance)
    {
        EXPECT_NEAR(a.x, b.x, tolerance);
        EXPECT_NEAR(a.y, b.y, tolerance);
        EXPECT_NEAR(a.z, b.z, tolerance);
    }

    MaterialLibrary library;
    Material* white = nullptr;
    EffectTimeline played, entered;
};

TEST_F(CatchUpTest, BlocksEnteredLateHaveTheSameTilesHomeAndInFlight)
{
    // Tiles fly home in 1..3 s from Start 1; at 2.5 s some are home and some still flying.
    BlocksEffect *a = nullptr, *b = nullptr;
    playBoth("Blocks {\n  Rect -200 -100 400 200\n  Rows 4\n  Cols 6\n  Position 0 0 -100\n"
             "  Distance 50\n  Start 1\n  End 100\n}\n",
             150, a, b);
    ASSERT_EQ(a->blocks.size(), b->blocks.size());
    int home = 0;
    for (std::size_t i = 0; i < a->blocks.size(); ++i) {
        SCOPED_TRACE("tile " + std::to_string(i));
        EXPECT_EQ(a->blocks[i].atRest(), b->blocks[i].atRest());
        home += a->blocks[i].atRest() ? 1 : 0;
        EXPECT_NEAR(a->blocks[i].angle, b->blocks[i].angle, 0.05f);
        for (int k = 0; k < 4; ++k)
            expectNear(a->blocks[i].corners[k], b->blocks[i].corners[k], 0.01f);
    }
    EXPECT_GT(home, 0);
    EXPECT_LT(home, int(a->blocks.size()));
}

TEST_F(CatchUpTest, LinesAndWaveLinesEnteredLateMatchAPlayFromStart)
{
    // Lines bounce off the edges and pulse with a draw per frame; the wave chains turn round at
    // their limits with fresh draws. Both only agree when every frame was stepped.
    LinesEffect *a = nullptr, *b = nullptr;
    playBoth("Lines {\n  NumLines 12\n  Speed 400\n  Variance 200\n  AlphaSpeed 2\n  Start 0.5\n"
             "  End 100\n}\n",
             240, a, b);
    ASSERT_EQ(a->lines.size(), b->lines.size());
    for (std::size_t i = 0; i < a->lines.size(); ++i) {
        EXPECT_NEAR(a->lines[i].x, b->lines[i].x, 0.05f) << "line " << i;
        EXPECT_NEAR(a->lines[i].alpha, b->lines[i].alpha, 1e-3f) << "line " << i;
        EXPECT_EQ(a->lines[i].velocity, b->lines[i].velocity) << "line " << i;
    }

    WaveLinesEffect *wa = nullptr, *wb = nullptr;
    played.clear();
    entered.clear();
    playBoth("WaveLines {\n  Start 1\n  End 100\n}\n", 300, wa, wb);
    for (int c = 0; c < WaveLinesEffect::kChains; ++c)
        for (int k = 0; k < WaveLinesEffect::kPoints; ++k) {
            SCOPED_TRACE("chain " + std::to_string(c) + " point " + std::to_string(k));
            expectNear(wa->chains[c].points[k].position, wb->chains[c].points[k].position, 1e-3f);
        }
}

TEST_F(CatchUpTest, TunnelEnteredLateHasScrolledAndRippledAsFar)
{
    TunnelEffect *a = nullptr, *b = nullptr;
    playBoth("Tunnel {\n  Size 16 12\n  Length 40\n  Speed 1.5\n  Linear 1 2 3 0.5\n"
             "  Circular 2 1 0.4\n  Params 0 0 0 0 0.3 0.7\n  Start 1\n  End 100\n}\n",
             240, a, b);
    ASSERT_TRUE(a->mesh && b->mesh);
    for (int p = 0; p < 4; ++p)
        EXPECT_NEAR(a->phases[p], b->phases[p], 1e-3f) << "phase " << p;
    // The scroll has run about 3 s at 0.3 and 0.7 texture units a second.
    const MeshTexCoord& ua = a->mesh->texCoords[0][5];
    const MeshTexCoord& ub = b->mesh->texCoords[0][5];
    EXPECT_NEAR(ua.u, ub.u, 1e-3f);
    EXPECT_NEAR(ua.v, ub.v, 1e-3f);
    EXPECT_GT(ub.v, 2.0f);
    for (int i = 0; i < a->mesh->vertices.size(); ++i)
        expectNear(a->mesh->vertices[i].position, b->mesh->vertices[i].position, 1e-3f);
}

TEST_F(CatchUpTest, ParticlesEnteredLateHaveTheSameLivingCount)
{
    // A burst without respawn that has died out by 3 s: entering late must not fire it again.
    const char* burst = "Particle {\n  Start 1\n  End 100\n  ParticleSystem {\n    Max 200\n"
                        "    Generator {\n      Type \"Sphere\"\n      Lifespan 1\n      Speed 2\n    }\n"
                        "    Renderer {\n      Type \"Points\"\n      Shader \"white\"\n    }\n  }\n}\n";
    ParticleEffect *a = nullptr, *b = nullptr;
    playBoth(burst, 180, a, b);
    ASSERT_TRUE(a->system && b->system);
    EXPECT_EQ(a->system->particles.size(), b->system->particles.size());
    EXPECT_LT(b->system->particles.size(), 200u);

    // A steady fountain: births and deaths balance after a second; the counts agree within a
    // few particles (a spawn falls one frame earlier or later with rounded frame times).
    const char* fountain = "Particle {\n  Start 1\n  End 100\n  ParticleSystem {\n    Max 400\n"
                           "    SpawnRate 150\n    Generator {\n      Type \"Sphere\"\n      Flags Respawn\n"
                           "      Lifespan 0.8\n      Speed 3\n    }\n"
                           "    Renderer {\n      Type \"Points\"\n      Shader \"white\"\n    }\n  }\n}\n";
    played.clear();
    entered.clear();
    playBoth(fountain, 300, a, b);
    const double fromStart = double(a->system->particles.size());
    EXPECT_GT(fromStart, 20.0);
    EXPECT_NEAR(double(b->system->particles.size()), fromStart, 0.05 * fromStart + 2.0);
    EXPECT_NEAR(b->system->boundsMax.x, a->system->boundsMax.x, 0.5f);
}

} // namespace
