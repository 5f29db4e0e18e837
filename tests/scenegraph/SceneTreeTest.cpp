#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "animation/KeyframerLW.h"
#include "math/Quaternion.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/LightNode.h"
#include "scenegraph/Scene.h"
#include "scenegraph/ShadowPlaneNode.h"

#include <cmath>
#include <vector>

namespace {

void expectNear(const Vector3& v, const Vector3& w, float tolerance = 1e-5f)
{
    EXPECT_NEAR(v.x, w.x, tolerance);
    EXPECT_NEAR(v.y, w.y, tolerance);
    EXPECT_NEAR(v.z, w.z, tolerance);
}

TEST(BoundingSphereMerge, GrowsToEncloseBoth)
{
    BoundingSphere s{{0, 0, 0}, 1};
    s.merge({{0.5f, 0, 0}, 0.25f});
    EXPECT_EQ(s.radius, 1.0f) << "already enclosed";
    EXPECT_EQ(s.centre, Vector3());

    s.merge({{4, 0, 0}, 1});
    expectNear(s.centre, {2, 0, 0});
    EXPECT_NEAR(s.radius, 3.0f, 1e-6f);

    // One centre, the other larger: the larger sphere, not a division by zero.
    BoundingSphere t{{1, 2, 3}, 1};
    t.merge({{1, 2, 3}, 5});
    EXPECT_EQ(t.centre, Vector3(1, 2, 3));
    EXPECT_EQ(t.radius, 5.0f);
    EXPECT_FALSE(std::isnan(t.centre.x));
    // A larger sphere off-centre that holds this one whole: the result must still hold it all.
    BoundingSphere u{{1, 0, 0}, 2};
    u.merge({{0, 0, 0}, 6});
    EXPECT_EQ(u.centre, Vector3());
    EXPECT_EQ(u.radius, 6.0f);
}

TEST(SceneTreeUpdate, WorldTransformsDownThreeLevels)
{
    GroupNode root;
    root.position = {10, 0, 0};
    root.rotation = Quaternion::fromAxisAngle(float(M_PI / 2), {0, 0, 1}).toMatrix();
    root.scale = {2, 2, 2};
    auto& middle = root.addChild(std::make_unique<GroupNode>());
    middle.position = {1, 0, 0};
    middle.scale = {3, 1, 1};
    auto& leaf = middle.addChild(std::make_unique<GroupNode>());
    leaf.position = {0, 1, 0};
    leaf.localSphere = {{0, 0, 1}, 0.5f};
    root.updateTree(0.0f, nullptr);

    const Vector3 turned = root.rotation.transformPoint({1, 0, 0});
    expectNear(middle.worldPosition, Vector3(10, 0, 0) + turned);
    expectNear(leaf.worldPosition, middle.worldPosition + root.rotation.transformPoint({0, 1, 0}));
    EXPECT_EQ(leaf.worldScale, Vector3(6, 2, 2));
    // The leaf's sphere: its centre moved, not rotated; its radius scaled by world x.
    expectNear(leaf.ownSphere.centre, leaf.worldPosition + Vector3(0, 0, 1));
    EXPECT_NEAR(leaf.ownSphere.radius, 3.0f, 1e-6f);
    // The root's subtree sphere encloses the leaf's.
    const float reach = distance(root.subtreeSphere.centre, leaf.ownSphere.centre) + leaf.ownSphere.radius;
    EXPECT_LE(reach, root.subtreeSphere.radius + 1e-4f);
    EXPECT_EQ(root.ownSphere.radius, 2.0f);
}

TEST(SceneTreeUpdate, EnvelopeAnglesTurnTheNode)
{
    GroupNode root;
    auto animator = std::make_unique<KeyframerLW>();
    animator->channels[KeyframerLW::Heading].keys.push_back({float(-M_PI / 2), 0.0f});
    for (int c : {KeyframerLW::ScaleX, KeyframerLW::ScaleY, KeyframerLW::ScaleZ})
        animator->channels[c].keys.push_back({1.0f, 0.0f});
    root.animator = std::move(animator);
    auto& child = root.addChild(std::make_unique<GroupNode>());
    child.position = {0, 0, 1};
    root.updateTree(0.0f, nullptr);
    EXPECT_EQ(root.rotation, Matrix4x4::eulerYXZ(float(M_PI / 2), 0, 0));
    expectNear(child.worldPosition, root.rotation.transformPoint({0, 0, 1}));
}

// Counts its own drawing.
class CountingNode : public SceneNode {
public:
    explicit CountingNode(std::vector<const CountingNode*>& drawn) : SceneNode(kDrawable), drawn_(drawn) {}
    void drawSelf() override { drawn_.push_back(this); }

private:
    std::vector<const CountingNode*>& drawn_;
};

class SceneCullingTest : public GLTest {
protected:
    SceneCullingTest()
    {
        camera.setPositionAndTarget({0, 0, 10}, {0, 0, 0});
        camera.viewportWidth = 640;
        camera.viewportHeight = 480;
        camera.setClip(1, 100);
        camera.orient();
    }
    CountingNode& add(SceneNode& parent, const Vector3& at, float radius)
    {
        auto& node = parent.addChild(std::make_unique<CountingNode>(drawn));
        node.position = at;
        node.localSphere.radius = radius;
        return static_cast<CountingNode&>(node);
    }
    std::vector<const CountingNode*> drawn;
    Camera camera;
};

TEST_F(SceneCullingTest, SubtreesBehindAreSkippedAndOutsideParentsStillDrawChildren)
{
    GroupNode root;
    // Behind the camera, with a child that would be visible on its own: the subtree sphere is
    // built from both, so it reaches into view; the parent itself is not drawn.
    CountingNode& farBehind = add(root, {0, 0, 40}, 1);
    CountingNode& seenChild = add(farBehind, {0, 0, -40}, 1);
    // Wholly behind, subtree included: neither is visited.
    CountingNode& behind = add(root, {50, 0, 30}, 1);
    CountingNode& behindChild = add(behind, {0, 0, 1}, 1);
    CountingNode& inFront = add(root, {0, 1, -5}, 1);
    root.updateTree(0.0f, nullptr);
    root.drawVisible(camera.frustumPlanes());
    EXPECT_EQ(drawn, (std::vector<const CountingNode*>{&seenChild, &inFront}));
    (void)behindChild;

    drawn.clear();
    root.drawAll();
    EXPECT_EQ(drawn.size(), 5u);
}

TEST_F(SceneCullingTest, ShadowPlanesAreNeverCulled)
{
    GroupNode root;
    auto& plane = root.addChild(std::make_unique<ShadowPlaneNode>());
    plane.position = {0, 0, 500};
    CountingNode& caster = add(plane, {0, 0, 0}, 1);
    root.updateTree(0.0f, nullptr);
    glEnable(GL_LIGHTING);
    GLint before[2];
    glGetIntegerv(GL_BLEND_SRC, &before[0]);
    glGetIntegerv(GL_BLEND_DST, &before[1]);
    root.drawVisible(camera.frustumPlanes());
    // Drawn twice: once flattened as its shadow, once itself.
    EXPECT_EQ(drawn, (std::vector<const CountingNode*>{&caster, &caster}));
    GLint depthFunc;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "lighting is back on for what follows";
    glDisable(GL_LIGHTING);
    GLint blend[2];
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(blend[0], before[0]) << "the shadow blend function is given back";
    EXPECT_EQ(blend[1], before[1]);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[3]);
}

TEST(ShadowMatrix, FlattensOntoThePlane)
{
    ShadowPlaneNode node;
    const auto quad = node.quad();
    EXPECT_EQ(quad[0], Vector3(-10, 0, 10));
    EXPECT_EQ(quad[2], Vector3(10, 0, -10));

    auto project = [](const std::array<float, 16>& m, const Vector3& p) {
        float out[4];
        for (int row = 0; row < 4; ++row)
            out[row] = m[std::size_t(row)] * p.x + m[std::size_t(4 + row)] * p.y +
                       m[std::size_t(8 + row)] * p.z + m[std::size_t(12 + row)];
        return Vector3(out[0] / out[3], out[1] / out[3], out[2] / out[3]);
    };
    // A point light at (0, 10, 0): a point at height 5, 1 to the side, lands 2 to the side.
    expectNear(project(node.shadowMatrix(), {1, 5, 0}), {2, 0, 0});
    // Parallel light straight down along -y: the point drops onto the plane where it is.
    node.light[0] = 1;
    node.light[1] = 1;
    node.light[3] = 0;
    expectNear(project(node.shadowMatrix(), {0, 5, 0}), {-5, 0, 0});
    expectNear(project(node.shadowMatrix(), {3, 2, 1}), {1, 0, 1});
}

class LightSlotTest : public GLTest {
protected:
    // Reads the scene text into `scene` and draws it once from a camera at the origin.
    static void drawOnce(Scene& scene, const std::string& text)
    {
        scene.setRoot(scenetest::read(text));
        scene.update(0.0f);
        Camera camera;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        scene.draw(&camera);
    }
};

TEST_F(LightSlotTest, ANinthLightIsNeverLit)
{
    ASSERT_EQ(LightSlots::shared().maxLights(), 8) << "llvmpipe offers eight lights";
    std::vector<std::unique_ptr<DirectionalLightNode>> lights;
    for (int i = 0; i < 9; ++i) {
        lights.push_back(std::make_unique<DirectionalLightNode>());
        lights.back()->active = true;
        lights.back()->enableLight();
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lights[std::size_t(i)]->glLight, GLenum(GL_LIGHT0 + i));
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + i));
    }
    EXPECT_EQ(lights[8]->glLight, 0u);
    EXPECT_FALSE(lights[8]->active);

    lights[3]->disableLight();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT3, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.8f);
    lights[8]->enableLight();
    EXPECT_EQ(lights[8]->glLight, 0u) << "a light switched off for want of a slot stays off";
    lights[3]->enableLight();
    EXPECT_EQ(lights[3]->glLight, GLenum(GL_LIGHT3));
    lights.clear();
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + i));
}

TEST_F(LightSlotTest, SpotValuesReachGL)
{
    MeshManager meshes;
    Scene scene;
    drawOnce(scene, "Group {\n  SpotLight {\n    Position 1 2 3\n    Cutoff 30\n    Exponent 10\n  }\n}\n");
    EXPECT_TRUE(scene.hasActiveLight());
    GLfloat value[4];
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(value[0], 30.0f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, value);
    EXPECT_FLOAT_EQ(value[0], 10.0f);
    glGetLightfv(GL_LIGHT0, GL_POSITION, value);
    EXPECT_FLOAT_EQ(value[2], 3.0f);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, value);
    EXPECT_FLOAT_EQ(value[2], 1.0f) << "the node's +z axis";
    scene.release();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(value[0], 180.0f);
}

TEST_F(LightSlotTest, ValuesGLRefusesBecomeTheNearestItTakes)
{
    // GL refuses these with GL_INVALID_VALUE and keeps the previous light's values.
    MeshManager meshes;
    Scene scene;
    drawOnce(scene, "Group {\n  SpotLight {\n    Cutoff 120\n    Exponent 200\n    Attenuation -1 0.5 -2\n"
                    "  }\n}\n");
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLfloat value[4];
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(value[0], 180.0f) << "a cone wider than a half space lights everywhere";
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, value);
    EXPECT_FLOAT_EQ(value[0], 128.0f);
    glGetLightfv(GL_LIGHT0, GL_CONSTANT_ATTENUATION, value);
    EXPECT_FLOAT_EQ(value[0], 0.0f);
    glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, value);
    EXPECT_FLOAT_EQ(value[0], 0.5f);
    scene.release();
}

} // namespace
