#include "GLFixture.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

#include <cmath>
#include <memory>

namespace {

void expectNear(const Vector3& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST(CameraOrient, StraightDownUsesTheDepthAxisAsReference)
{
    Camera camera;
    camera.setDirection({0, -1, 0});
    camera.orient();
    expectNear(camera.up, 0, 0, 1);
    expectNear(camera.right, -1, 0, 0);
    camera.setDirection({0, 3, 0});
    camera.orient();
    expectNear(camera.up, 0, 0, -1);
}

TEST(CameraOrient, LevelViewKeepsWorldUp)
{
    Camera camera;
    camera.setPositionAndTarget({0, 0, 5}, {0, 0, 0});
    camera.orient();
    expectNear(camera.direction, 0, 0, -1);
    expectNear(camera.up, 0, 1, 0);
    expectNear(camera.right, 1, 0, 0);  // direction × up
    camera.setDirection({1, 1, 0});
    camera.orient();
    const float s = std::sqrt(0.5f);
    expectNear(camera.up, -s, s, 0);
    EXPECT_NEAR(dot(camera.up, camera.direction), 0.0f, 1e-6f);
}

TEST(CameraOrient, SceneCameraTurnsItsAxesByHeading)
{
    SceneCamera camera;
    camera.orient();
    expectNear(camera.right, 1, 0, 0);
    expectNear(camera.direction, 0, 0, 1);
    camera.h = float(M_PI / 2);
    camera.orient();
    // eulerYXZ's rotationY stores the turn by -h: +z goes to -x.
    expectNear(camera.direction, -1, 0, 0);
    expectNear(camera.up, 0, 1, 0);
}

// Points inside and outside the volume of a camera at `eye` looking at `target`, for both kinds.
void expectCulling(Camera& camera)
{
    camera.viewportWidth = 640;
    camera.viewportHeight = 480;
    camera.setClip(1, 100);
    camera.orient();
    const Frustum f = camera.frustumPlanes();
    const Vector3 ahead = camera.position + camera.direction * 10.0f;
    for (const PlaneEq& plane : f.planes)
        EXPECT_GT(plane.distance(ahead), 0.0f) << "plane faces outward";
    EXPECT_FALSE(f.outside({ahead, 0.5f}));
    EXPECT_TRUE(f.outside({camera.position - camera.direction * 5.0f, 1.0f})) << "behind";
    EXPECT_TRUE(f.outside({camera.position + camera.direction * 200.0f, 1.0f})) << "past far";
    EXPECT_TRUE(f.outside({ahead + camera.up * 20.0f, 1.0f})) << "above";
    EXPECT_TRUE(f.outside({ahead - camera.right * 30.0f, 1.0f})) << "beside";
    // A large sphere that reaches into the volume from beside it intersects and counts.
    EXPECT_FALSE(f.outside({ahead + camera.right * 30.0f, 27.0f}));
}

TEST(CameraFrustum, PlanesFaceInwardForBothKinds)
{
    Camera looking;
    looking.setPositionAndTarget({3, 2, 1}, {3, 2, -20});
    expectCulling(looking);
    Camera tilted;
    tilted.setPositionAndTarget({0, 5, 0}, {4, 0, -3});
    expectCulling(tilted);

    SceneCamera turned;
    turned.position = {1, 2, 3};
    turned.h = 0.7f;
    turned.p = -0.3f;
    expectCulling(turned);
}

TEST(CameraFrustum, CornersSpanTheFieldOfView)
{
    Camera camera;
    camera.setClip(1, 10);
    camera.viewportWidth = camera.viewportHeight = 100;
    camera.fov = 90;
    camera.orient();
    const auto c = camera.frustumCorners();
    // Square viewport, 90 degrees: the far corners lie 10 to each side; right is direction × up.
    expectNear(camera.right, -1, 0, 0);
    expectNear(c[4], -10, -10, 10);
    expectNear(c[7], 10, 10, 10);
    expectNear(c[1], 1, -1, 1);
}

class CameraManagerTest : public GLTest {
protected:
    CameraManager manager;
};

Camera* named(const char* name)
{
    auto* camera = new Camera;
    camera->name = name;
    return camera;
}

TEST_F(CameraManagerTest, AddRefusesDuplicatesAndFirstBecomesCurrent)
{
    EXPECT_EQ(CameraManager::instance, &manager);
    Camera* a = named("a");
    EXPECT_TRUE(manager.add(a));
    EXPECT_EQ(manager.current(), a);
    EXPECT_EQ(a->viewportWidth, 1) << "registration hands out no viewport";
    std::unique_ptr<Camera> twin(named("a"));
    EXPECT_FALSE(manager.add(twin.get()));
    EXPECT_FALSE(manager.add(nullptr));
    Camera* b = named("b");
    EXPECT_TRUE(manager.add(b));
    EXPECT_EQ(manager.current(), a);
    EXPECT_EQ(manager.find("b"), b);
    EXPECT_EQ(manager.find("B"), nullptr);
}

TEST_F(CameraManagerTest, ViewportReachesTheCurrentCamera)
{
    Camera* a = named("a");
    Camera* b = named("b");
    manager.add(a);
    manager.add(b);
    manager.setViewport(640, 0);
    EXPECT_EQ(a->viewportWidth, 640);
    EXPECT_EQ(a->viewportHeight, 1);
    EXPECT_EQ(manager.setCurrent(b), a);
    EXPECT_EQ(b->viewportWidth, 640);
    EXPECT_EQ(b->viewportHeight, 1);

    manager.setViewport(320, 240);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    EXPECT_EQ(b->viewportHeight, 240);
    EXPECT_EQ(a->viewportHeight, 1);
    glViewport(0, 0, 640, 480);
}

TEST_F(CameraManagerTest, RemoveHandsBackAndClearsCurrent)
{
    manager.add(named("a"));
    manager.add(named("b"));
    std::unique_ptr<Camera> a = manager.remove("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(manager.current(), nullptr);
    EXPECT_EQ(manager.find("a"), nullptr);
    EXPECT_FALSE(manager.remove("a"));
    EXPECT_EQ(manager.cameras().size(), 1u);
    manager.releaseAll();
    EXPECT_TRUE(manager.cameras().empty());
}

TEST_F(CameraManagerTest, ProjectionFollowsFovAndAspect)
{
    Camera camera;
    camera.fov = 90;
    camera.setClip(1, 100);
    camera.setViewport(200, 100);
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 0.5f, 1e-5f);  // near / (near · tan 45° · aspect 2)
    EXPECT_NEAR(m[5], 1.0f, 1e-5f);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(CameraManagerTest, ClipAndFovGLRefusesStillGiveAPerspective)
{
    // GL refuses these frusta with GL_INVALID_VALUE and would leave the identity in place.
    struct Case {
        float fov, nearClip, farClip;
    };
    for (const Case& c : {Case{45, 66, 0}, Case{45, 0, 100}, Case{45, -5, -1}, Case{0, 1, 100},
                          Case{45, 10, 10}, Case{std::nanf(""), 1, 100}}) {
        SCOPED_TRACE(std::to_string(c.fov) + " " + std::to_string(c.nearClip) + " " + std::to_string(c.farClip));
        Camera camera;
        camera.fov = c.fov;
        camera.setClip(c.nearClip, c.farClip);
        camera.setViewport(200, 100);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        EXPECT_EQ(m[11], -1.0f) << "a perspective projection";
        EXPECT_TRUE(std::isfinite(m[0]) && std::isfinite(m[10]) && std::isfinite(m[14]));
    }
}

} // namespace
