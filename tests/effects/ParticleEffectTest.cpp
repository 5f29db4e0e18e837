// The Particle effect and the Particles scene node: their steps in time and what they draw
// through the current camera, read back as pixels.
#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "TestFiles.h"
#include "core/Random.h"
#include "core/RestingGLState.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/ParticleEffect.h"
#include "effects/SceneEffect.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/ParticleNode.h"

#include <cmath>
#include <sstream>

namespace {

// A shell of 400 points flying out of the origin at one unit a second from radius 1.
const char* kShell = "ParticleSystem {\n  Max 400\n  Generator {\n    Type \"Sphere\"\n"
                     "    Lifespan 100\n    EnergySpeed 0\n    Speed 1\n    SpeedFactor 0\n  }\n"
                     "  Renderer {\n    Type \"Points\"\n    Shader \"white\"\n  }\n}\n";

class ParticleEffectTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        applyRestingGLState();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        show::resetRandom();
        white = new Material("white");
        library.add(white);
        white->addRef();
        cameras.setViewport(640, 480);
    }
    void TearDown() override
    {
        timeline.clear();
        GLTest::TearDown();
        testgl::resetState();
    }
    void addCamera()
    {
        auto* camera = new Camera;
        camera->setPositionAndTarget({0, 0, 10}, {0, 0, 0});
        cameras.add(camera);
        cameras.setCurrent(camera);
    }
    ParticleEffect* loadEffect(const std::string& text)
    {
        std::istringstream stream(text);
        EXPECT_TRUE(loader.load(stream, "test.effect"));
        return timeline.pending().empty() ? nullptr
                                          : dynamic_cast<ParticleEffect*>(timeline.pending().back().get());
    }
    void frame(float time)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        timeline.update(time);
        timeline.renderAll();
    }
    // The farthest lit pixel from the window's centre, and how many are lit.
    static float litRadius(int& lit)
    {
        const auto pixels = testgl::readPixels(640, 480);
        float far = 0.0f;
        lit = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (pixels[std::size_t(y * 640 + x) * 4] > 128) {
                    ++lit;
                    far = std::max(far, std::hypot(x + 0.5f - 320.0f, y + 0.5f - 240.0f));
                }
        return far;
    }
    // Pixels from the centre to the silhouette of a sphere of radius r seen from 10 units with
    // a 45-degree field of view over 480 rows.
    static float silhouette(float r)
    {
        return std::tan(std::asin(r / 10.0f)) / std::tan(22.5f * float(M_PI) / 180.0f) * 240.0f;
    }

    MaterialLibrary library;
    Material* white = nullptr;
    MeshManager meshes;
    CameraManager cameras;
    EffectTimeline timeline;
    EffectLoader loader{&timeline};
};

TEST_F(ParticleEffectTest, FirstStepIsAThousandthAndTheShellGrows)
{
    ParticleEffect* effect = loadEffect(std::string("Particle {\n  Start 1\n  End 10\n") + kShell + "}\n");
    ASSERT_TRUE(effect);
    ASSERT_TRUE(effect->system);
    ASSERT_EQ(effect->system->particles.size(), 400u);
    addCamera();

    frame(1.0f);
    EXPECT_NEAR(effect->lastStep, 0.001f, 1e-6f);
    int lit = 0;
    const float first = litRadius(lit);
    EXPECT_GT(lit, 200);
    EXPECT_LE(first, silhouette(1.001f) + 2.0f);
    EXPECT_GE(first, 0.9f * silhouette(1.001f));

    frame(3.0f);
    EXPECT_FLOAT_EQ(effect->lastStep, 2.0f);
    const float later = litRadius(lit);
    EXPECT_LE(later, silhouette(3.001f) + 2.0f);
    EXPECT_GE(later, 0.9f * silhouette(3.001f));
}

TEST_F(ParticleEffectTest, NothingDrawnWithoutACameraOrASystem)
{
    loadEffect(std::string("Particle {\n  Start 0\n  End 10\n") + kShell + "}\n");
    ParticleEffect* empty = loadEffect("Particle {\n  Start 0\n  End 10\n}\n");
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->system);
    frame(1.0f);
    int lit = 0;
    litRadius(lit);
    EXPECT_EQ(lit, 0);
}

TEST_F(ParticleEffectTest, DownwardForceMovesTheCloudDown)
{
    ParticleEffect* effect = loadEffect(
        "Particle {\n  Start 0\n  End 10\n  ParticleSystem {\n    Max 200\n"
        "    Generator {\n      Type \"Sphere\"\n      Lifespan 100\n      EnergySpeed 0\n"
        "      Radius 0.5\n      Speed 0\n      SpeedFactor 0\n    }\n"
        "    Force {\n      Direction 0 -1 0\n      Strength 4\n    }\n    ForceToVelocity\n"
        "    ReflectionPlane {\n      Position 0 -2 0\n      Normal 0 1 0\n      Bounciness 1\n    }\n"
        "    Renderer {\n      Type \"Points\"\n      Shader \"white\"\n    }\n  }\n}\n");
    ASSERT_TRUE(effect && effect->system);
    addCamera();
    auto lowestAndHighestRow = [](int& low, int& high) {
        const auto pixels = testgl::readPixels(640, 480);
        low = 480;
        high = -1;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (pixels[std::size_t(y * 640 + x) * 4] > 128) {
                    low = std::min(low, y);
                    high = std::max(high, y);
                }
    };
    frame(0.5f);
    int low0, high0;
    lowestAndHighestRow(low0, high0);
    ASSERT_GE(high0, 0);
    for (float t = 0.6f; t < 3.0f; t += 0.1f)
        frame(t);
    int low1, high1;
    lowestAndHighestRow(low1, high1);
    ASSERT_GE(high1, 0);
    EXPECT_LT(high1, high0 - 10);  // the cloud fell
    // The plane at y = -2 holds it: nothing far below the plane's row (about 240 - 2 × 58).
    EXPECT_GE(low1, int(240.0f - silhouette(2.0f)) - 8);
    for (const Particle& p : effect->system->particles)
        EXPECT_GE(p.position.y, -2.0f - 0.5f);
}

TEST_F(ParticleEffectTest, ParticlesNodeStepsAndDrawsInsideAScene)
{
    const std::string path = testfiles::tempDir("particle-scene") + "/shell.scene";
    testfiles::writeFile(path, std::string("Group {\n  Particles {\n    ") + kShell + "  }\n}\n");
    std::istringstream stream("Scene {\n  Start 2\n  End 10\n  Scene \"" + path + "\"\n}\n");
    ASSERT_TRUE(loader.load(stream, "test.effect"));
    auto* sceneEffect = dynamic_cast<SceneEffect*>(timeline.pending().back().get());
    ASSERT_TRUE(sceneEffect && sceneEffect->scene.root());
    auto* node = dynamic_cast<ParticleNode*>(sceneEffect->scene.root()->children.at(0).get());
    ASSERT_TRUE(node && node->system);
    addCamera();

    frame(2.0f);
    const Vector3 start = node->system->particles[0].position;
    frame(2.5f);
    const Vector3 moved = node->system->particles[0].position;
    // 0.030303031 s first, then 0.5 s, at one unit a second outwards.
    EXPECT_NEAR(moved.length() - start.length(), 0.5f, 1e-3f);
    EXPECT_NEAR(start.length(), 1.030303f, 1e-3f);
    // The sphere around the box of the shell: half its diagonal.
    EXPECT_NEAR(node->localSphere.radius, 1.530303f * std::sqrt(3.0f), 0.15f);
    int lit = 0;
    const float radius = litRadius(lit);
    EXPECT_GT(lit, 200);
    EXPECT_LE(radius, silhouette(1.530303f) + 2.0f);

    // Time running backwards steps by one frame again.
    frame(2.0f);
    EXPECT_NEAR(node->system->particles[0].position.length() - moved.length(), 0.030303f, 1e-3f);
}

} // namespace
