#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "geometry/Mesh.h"
#include "scenegraph/Camera.h"
#include "scenes/TunnelScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

TEST(TunnelScene, BallsFollowTheirPaths)
{
    Metaball balls[3];
    // t = 0: b = a = 0, c = 2, d = -5.
    TunnelScene::placeBalls(0.0f, balls);
    EXPECT_FLOAT_EQ(balls[0].x, -6.0f);
    EXPECT_FLOAT_EQ(balls[0].y, -2.0f);
    EXPECT_FLOAT_EQ(balls[1].x, 2.0f);
    EXPECT_FLOAT_EQ(balls[1].y, -7.0f);
    EXPECT_FLOAT_EQ(balls[2].x, -5.0f);
    EXPECT_FLOAT_EQ(balls[2].z, 0.0f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(balls[i].strength, 5.0f + float(i));

    // Each ball keeps its one untouched axis wherever the time takes it.
    for (float t = 135.0f; t < 175.0f; t += 0.7f) {
        TunnelScene::placeBalls(t, balls);
        EXPECT_EQ(balls[0].z, 0.0f);
        EXPECT_EQ(balls[1].z, 0.0f);
        EXPECT_EQ(balls[2].y, 0.0f);
        const float b = 3.4f * t, a = b / 6.0f, c = 2.0f * std::cos(a);
        EXPECT_NEAR(balls[1].x, c + 5.0f * std::sin(b / 4.0f), 1e-4f);
    }
}

// Counts the light body's draws.
class CountingMesh : public Mesh {
public:
    void draw(bool useMaterials) override
    {
        ++draws;
        Mesh::draw(useMaterials);
    }
    int draws = 0;
};

class TunnelSceneGLTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        scenetest::makeTriangle(mesh);
        tunnel.lightMesh = &mesh;
        ASSERT_TRUE(tunnel.field.init(TunnelScene::kFieldSize));
        TunnelScene::placeBalls(150.0f, tunnel.balls);
        tunnel.field.setBalls(tunnel.balls, 3);
        camera.viewportWidth = 640;
        camera.viewportHeight = 480;
    }
    Frustum lookingAt(const Vector3& from, const Vector3& target)
    {
        camera.setPositionAndTarget(from, target);
        camera.orient();
        return camera.frustumPlanes();
    }
    CountingMesh mesh;
    TunnelScene tunnel;
    Camera camera;
};

TEST_F(TunnelSceneGLTest, OnlyWhatIsInViewIsDrawn)
{
    // Far above everything, looking straight up: nothing of the tunnel is in view.
    const Frustum away = lookingAt({0, 500, 0}, {0, 600, 0});
    EXPECT_EQ(tunnel.drawClusters(away, 150.0f), 0);
    EXPECT_EQ(tunnel.drawLights(away, 150.0f), 0);
    EXPECT_EQ(mesh.draws, 0) << "a light out of view issues no drawing";

    // Close to the third light, looking at it: that light alone (body and shells) is drawn.
    const Vector3 light = TunnelScene::kLightPositions[2];
    camera.setClip(1.0f, 20.0f);
    EXPECT_EQ(tunnel.drawLights(lookingAt(light + Vector3{0, 0, -12}, light), 0.0f), 1);
    EXPECT_GE(mesh.draws, 1);

    // Looking at the second cluster from in front of it: it is drawn, the far ones are not.
    const Vector3 cluster = TunnelScene::kClusterPositions[1];
    camera.setClip(1.0f, 40.0f);
    EXPECT_EQ(tunnel.drawClusters(lookingAt(cluster + Vector3{0, 0, -25}, cluster), 150.0f), 1);
}

// The four clusters are one blob polygonised once a frame: every cluster in view draws all of
// its triangles, the ones after the first from the first one's polygonisation.
TEST_F(TunnelSceneGLTest, EveryClusterInViewDrawsTheWholeBlob)
{
    std::vector<MetaballVertex> blob;
    tunnel.field.polygonise(1.0f, blob);
    ASSERT_FALSE(blob.empty());

    // Far out, seeing all four; a projection wide enough that GL clips nothing of them.
    camera.setClip(1.0f, 2000.0f);
    const Frustum all = lookingAt({0, 0, -900}, {0, 0, 0});
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1000, 1000, -1000, 1000, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    std::vector<GLfloat> feedback(4 << 20);
    glFeedbackBuffer(GLsizei(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    EXPECT_EQ(tunnel.drawClusters(all, 150.0f), 4);
    const GLint values = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    // Each triangle is a polygon token, its vertex count and three x, y, z vertices.
    ASSERT_GT(values, 0);
    std::size_t triangles = 0;
    for (GLint i = 0; i < values;) {
        ASSERT_EQ(feedback[std::size_t(i)], GLfloat(GL_POLYGON_TOKEN));
        const int n = int(feedback[std::size_t(i) + 1]);
        triangles += n == 3;
        i += 2 + 3 * n;
    }
    EXPECT_EQ(triangles, 4 * blob.size() / 3);
}

} // namespace

namespace {

TEST(TunnelScene, OwnEffectsKeepTheirOwnWindows)
{
    // The tunnel's script as the scene reads it: its effects join the timeline with the windows
    // written in the script, not the scene's.
    EffectTimeline timeline;
    EffectLoader loader(&timeline);
    ASSERT_TRUE(loader.load(std::string(OCULITH_SOURCE_DIR) + "/data/scr/tunnelscene.effect"));
    ASSERT_FALSE(timeline.pending().empty());
    bool breath = false;
    for (const auto& effect : timeline.pending()) {
        EXPECT_NE(effect->name, "TunnelScene");
        EXPECT_LT(effect->start, effect->end) << effect->name;
        if (effect->name == "tunnel_breath") {
            breath = true;
            EXPECT_FLOAT_EQ(effect->start, 135.233f);
            EXPECT_FLOAT_EQ(effect->end, 138.5f);
        }
    }
    EXPECT_TRUE(breath);
}

} // namespace
