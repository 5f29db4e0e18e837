// The hand-written scenes entered late (a start, seek or reload inside their window) come out
// where a play from their Start has them: the flock, the head's blend and the blobs' held shape,
// the water surface, the greetings' scroll and the beams' light. Each scene is played frame by
// frame at 60 frames a second from its Start in one copy, and caught up in one call in another,
// with the generator and the show's values reset before each.
#include "GLFixture.h"
#include "ShowFolder.h"
#include "core/Random.h"
#include "core/ShowValues.h"
#include "scenes/AlienMorphScene.h"
#include "scenes/GreetingsScene.h"
#include "scenes/Introduction.h"
#include "scenes/WaterSimulation.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;

// Frame k after `start`, as a play through the window reaches it.
float frameAfter(float start, int k) { return start + float(double(k) * double(kStep)); }

template <class S>
std::unique_ptr<S> prepared()
{
    show::resetRandom();
    show::resetSceneValues();
    auto scene = std::make_unique<S>();
    EXPECT_TRUE(scene->prepare());
    return scene;
}

// Plays `played` through frames 0..frames after its Start; the other copy catches up to the same
// time and takes its first update there.
template <class S>
void playAndEnter(S& played, S& entered, int frames)
{
    for (int k = 0; k <= frames; ++k)
        played.update(frameAfter(played.start, k));
    const float at = frameAfter(entered.start, frames);
    entered.catchUp(at, kStep);
    entered.update(at);
}

// The surface's energy: squared heights and velocities over the grid.
double energy(const WaterSurface& surface)
{
    double sum = 0.0;
    for (int i = 0; i < surface.vertices.size(); ++i)
        sum += double(surface.vertices[i].position.y) * surface.vertices[i].position.y;
    for (float v : surface.velocities())
        sum += double(v) * v;
    return sum;
}

class SceneCatchUp : public GLTest {};

} // namespace

TEST_F(SceneCatchUp, TheIntroductionsFlockHeadBlendAndBlobsAreWhereAPlayFromTheStartLeavesThem)
{
    ShowFolder show;
    // 35 s: inside the head's blend window, past the blobs' window, the flock after 2100 moves.
    // Both copies are prepared first (the blobs are the mesh manager's, shared, and each copy
    // keeps their undeformed shape); the catch-up then draws from where the play began.
    const int frames = 35 * 60;
    auto played = prepared<Introduction>();
    auto entered = prepared<Introduction>();
    const std::uint32_t drawsFrom = show::randomState();
    for (int k = 0; k <= frames; ++k)
        played->update(frameAfter(0.0f, k));
    const float weight = show::sceneValues.morphWeight;
    std::vector<Vector3> blob;
    for (int i = 0; i < played->blob->vertices.size(); ++i)
        blob.push_back(played->blob->vertices[i].position);

    show::resetSceneValues();
    show::setRandomState(drawsFrom);
    entered->catchUp(frameAfter(0.0f, frames), kStep);
    entered->update(frameAfter(0.0f, frames));
    EXPECT_NEAR(show::sceneValues.morphWeight, weight, 1e-4f);
    EXPECT_NEAR(weight, 0.5f, 0.02f);  // 5 s at 0.3 a second: up to 1 and half way back
    const auto& a = played->flock->groups();
    const auto& b = entered->flock->groups();
    for (std::size_t g = 0; g < a.size(); ++g)
        for (std::size_t i = 0; i < a[g].boids.size(); ++i) {
            const Vector3 d = a[g].boids[i].position - b[g].boids[i].position;
            EXPECT_LT(d.length(), 0.01f) << "group " << g << " creature " << i;
        }
    // The blobs keep the shape of the last frame of their window (10.667..24.133 s).
    float gap = 0.0f, deformed = 0.0f;
    for (int i = 0; i < entered->blob->vertices.size(); ++i) {
        gap += (entered->blob->vertices[i].position - blob[std::size_t(i)]).length();
        deformed += (blob[std::size_t(i)] - entered->blobShape.vertices()[std::size_t(i)].position).length();
    }
    EXPECT_LT(gap, 1e-3f * float(blob.size()));
    EXPECT_GT(deformed, 0.1f);
    played->release();
    entered->release();
    show::resetSceneValues();
}

TEST_F(SceneCatchUp, TheWaterSurfaceHasTheSameEnergyInsideAndAfterTheDropWindow)
{
    ShowFolder show;
    // 75 s (drops falling) and 95 s (the surface held since 85.47 s).
    for (float at : {75.0f, 95.0f}) {
        SCOPED_TRACE(at);
        const int frames = int(std::lround((at - 43.467f) * 60.0f));
        auto played = prepared<WaterSimulation>();
        auto entered = prepared<WaterSimulation>();
        playAndEnter(*played, *entered, frames);
        const double expected = energy(*played->surface);
        EXPECT_GT(expected, 0.0);
        EXPECT_NEAR(energy(*entered->surface), expected, 0.02 * expected);
        // The shading follows the heights: the normals agree as well.
        double normalGap = 0.0;
        for (int i = 0; i < played->surface->vertices.size(); ++i)
            normalGap += (played->surface->vertices[i].normal - entered->surface->vertices[i].normal).length();
        EXPECT_LT(normalGap / played->surface->vertices.size(), 0.01);
        played->release();
        entered->release();
    }
}

TEST_F(SceneCatchUp, TheGreetingsScrollAndTheBeamsLightAreAsFarOn)
{
    ShowFolder show;
    {
        auto played = prepared<GreetingsScene>();
        auto entered = prepared<GreetingsScene>();
        playAndEnter(*played, *entered, 25 * 60);
        EXPECT_EQ(entered->scroll.lastLine(), played->scroll.lastLine());
        EXPECT_GT(played->scroll.lastLine(), 20);
        EXPECT_NEAR(entered->scroll.textY(), played->scroll.textY(), 0.05f);
        played->release();
        entered->release();
    }
    {
        auto played = prepared<AlienMorphScene>();
        auto entered = prepared<AlienMorphScene>();
        playAndEnter(*played, *entered, 11 * 60 + 17);
        EXPECT_NEAR(entered->wavePhase, played->wavePhase, 1e-4f);
        played->release();
        entered->release();
    }
}
