#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "core/RestingGLState.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/Scene.h"

#include <cmath>

namespace {

class SceneDrawTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        applyRestingGLState();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        cameras.setViewport(640, 480);
        scenetest::addSquare(meshes, "dot.msh", 0.2f);
        scenetest::addSquare(meshes, "grey.msh", 3.0f, 200);
        scenetest::addSquare(meshes, "floor.msh", 1.0f, 255, true);
    }
    void TearDown() override
    {
        scene.release();
        GLTest::TearDown();
        testgl::resetState();
    }
    void play(const std::string& text, Camera* camera = nullptr)
    {
        scene.setRoot(scenetest::read(text));
        ASSERT_TRUE(scene.root());
        scene.update(0.0f);
        if (camera) {
            camera->setViewport(640, 480);
            camera->applyView();
        }
        scene.draw(camera);
    }

    MeshManager meshes;
    CameraManager cameras;
    Scene scene;
};

// Window coordinates of a world point seen from `eye` looking along +z with up +y, worked out
// here from the pinhole model rather than through GL.
void project(const Vector3& eye, const Vector3& point, float fovDegrees, float& x, float& y)
{
    const Vector3 d = point - eye;
    // Looking along +z with up +y, the screen's right is world -x.
    const float t = std::tan(fovDegrees * 0.5f * float(M_PI) / 180.0f);
    const float ndcX = -d.x / (d.z * t * (640.0f / 480.0f));
    const float ndcY = d.y / (d.z * t);
    x = (ndcX + 1.0f) * 320.0f;
    y = (ndcY + 1.0f) * 240.0f;
}

TEST_F(SceneDrawTest, MeshLandsWhereTheCameraNodeProjectsIt)
{
    play("Group {\n  Camera {\n    Position 0 0 -10\n    FOV 50\n    Enable yes\n  }\n"
         "  Mesh {\n    Name \"dot.msh\"\n    Position 2 1 0\n  }\n}\n");
    float x, y;
    project({0, 0, -10}, {2, 1, 0}, 50.0f, x, y);
    EXPECT_LT(x, 320.0f);
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(x), int(y)), 255, 255, 255, 2);
    // Nothing at the mirrored places.
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(640 - x), int(y)), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(x), int(480 - y)), 0, 0, 0, 2);
    // The dot spans 0.4 units at distance 10: about 15 pixels across.
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(x) + 12, int(y)), 0, 0, 0, 2);
}

TEST_F(SceneDrawTest, MeshOutsideTheViewIsCulledButTheSceneStillDraws)
{
    Camera camera;
    camera.setPositionAndTarget({0, 0, -10}, {0, 0, 0});
    play("Group {\n  Mesh {\n    Name \"dot.msh\"\n  }\n  Mesh {\n    Name \"dot.msh\"\n"
         "    Position 0 0 -20\n  }\n}\n", &camera);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 255, 255, 255, 2);
}


TEST_F(SceneDrawTest, DirectionalLightBrightensTheFacesTurnedToIt)
{
    auto draw = [&](const char* directionLine) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Camera camera;
        camera.setPositionAndTarget({0, 0, -10}, {0, 0, 0});
        glEnable(GL_LIGHTING);
        play(std::string("Group {\n  DirectionalLight {\n    Diffuse 1 1 1 1\n") + directionLine +
                 "  }\n  Mesh {\n    Name \"grey.msh\"\n  }\n}\n",
             &camera);
        glDisable(GL_LIGHTING);
        return testgl::readPixel(320, 240).g;
    };
    const int towards = draw("");
    const int away = draw("    Direction 0 0 -1\n");
    const int sideways = draw("    Direction 1 0 1\n");
    EXPECT_GT(towards, 180);
    EXPECT_LT(away, 60);
    EXPECT_GT(sideways, away + 40);
    EXPECT_LT(sideways, towards - 20);
}

TEST_F(SceneDrawTest, ShadowPlaneShowsABlackShadowOnItsGreyQuad)
{
    // Looking straight down from 20 above the plane; a floor square 5 above it, light at 10:
    // the shadow is twice the square's size.
    Camera camera;
    camera.setPositionAndTarget({0, 20, 0}, {0, 0, 0});
    play("ShadowPlane {\n  Light 0 10 0 1\n  Size 10 0 10\n  Mesh {\n    Name \"floor.msh\"\n"
         "    Position 0 5 0\n  }\n}\n",
         &camera);
    const float pixelsPerUnitAtPlane = 240.0f / (20.0f * std::tan(22.5f * float(M_PI) / 180.0f));
    const float pixelsPerUnitAtCaster = pixelsPerUnitAtPlane * 20.0f / 15.0f;
    {
        SCOPED_TRACE("the caster itself");
        EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 255, 255, 255, 2);
    }
    const int ring = int(320 + 0.5f * (pixelsPerUnitAtCaster + 2.0f * pixelsPerUnitAtPlane));
    {
        SCOPED_TRACE("the shadow");
        EXPECT_PIXEL_NEAR(testgl::readPixel(ring, 240), 0, 0, 0, 2);
    }
    {
        SCOPED_TRACE("the plane");
        EXPECT_PIXEL_NEAR(testgl::readPixel(ring, 240 + 80), 128, 128, 128, 3);
    }
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240 - int(5.0f * pixelsPerUnitAtPlane)), 128, 128, 128, 3);
    const int beyond = int(320 + 11.0f * pixelsPerUnitAtPlane);
    if (beyond < 640)
        {
        SCOPED_TRACE("past the quad");
        EXPECT_PIXEL_NEAR(testgl::readPixel(beyond, 240), 0, 0, 0, 2);
    }
    GLint depthFunc;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
}

TEST_F(SceneDrawTest, ParallelLightCastsAShadowOfTheSameSize)
{
    Camera camera;
    camera.setPositionAndTarget({0, 20, 0}, {0, 0, 0});
    play("ShadowPlane {\n  Light 0 1 0 0\n  Mesh {\n    Name \"floor.msh\"\n    Position 0 5 0\n  }\n}\n",
         &camera);
    const float pixelsPerUnitAtPlane = 240.0f / (20.0f * std::tan(22.5f * float(M_PI) / 180.0f));
    const float pixelsPerUnitAtCaster = pixelsPerUnitAtPlane * 20.0f / 15.0f;
    // The caster covers more of the screen than its shadow at this height: nothing black is
    // left beside it, only grey plane.
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(320 + pixelsPerUnitAtCaster + 4), 240), 128, 128, 128, 3);
    EXPECT_PIXEL_NEAR(testgl::readPixel(int(320 + 0.9f * pixelsPerUnitAtCaster), 240), 255, 255, 255, 2);
}

} // namespace
