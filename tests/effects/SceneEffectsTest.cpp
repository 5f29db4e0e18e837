// The Camera, Mesh and Scene kinds: their keywords and failures, camera registration and
// switching, and what they draw.
#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "TestFiles.h"
#include "core/RestingGLState.h"
#include "effects/CameraEffect.h"
#include "effects/EffectLoader.h"
#include "effects/EffectTimeline.h"
#include "effects/MeshEffect.h"
#include "effects/SceneEffect.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/LightNode.h"

#include <sstream>

namespace {

class SceneEffectsTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        applyRestingGLState();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cameras.setViewport(640, 480);
        scenetest::addSquare(meshes, "dot.msh", 0.2f);
        scenetest::addSquare(meshes, "tile.msh", 20.0f);
    }
    void TearDown() override
    {
        timeline.clear();
        GLTest::TearDown();
        testgl::resetState();
    }
    bool load(const std::string& text)
    {
        std::istringstream stream(text);
        return loader.load(stream, "test.effect");
    }
    template <class E>
    E* pending(std::size_t i)
    {
        auto it = timeline.pending().begin();
        std::advance(it, i);
        return dynamic_cast<E*>(it->get());
    }
    void frame(float time)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        timeline.update(time);
        timeline.renderAll();
    }
    std::string writeScene(const std::string& text)
    {
        const std::string path = testfiles::tempDir("scene-effect") + "/test.scene";
        testfiles::writeFile(path, text);
        return path;
    }

    MeshManager meshes;
    CameraManager cameras;
    EffectTimeline timeline;
    EffectLoader loader{&timeline};
};

std::string message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ImageScriptException& e) {
        return e.what();
    }
    return "";
}

TEST_F(SceneEffectsTest, UnknownLinesAndBadTracksRaise)
{
    EXPECT_NE(message([&] { load("Camera {\n  Name \"a\"\n  Zoom 3\n}\n"); }).find("CameraEffect unknown token"),
              std::string::npos);
    EXPECT_NE(message([&] { load("Mesh {\n  Rotate 3\n}\n"); }).find("MeshEffect unknown token"),
              std::string::npos);
    EXPECT_NE(message([&] { load("Camera {\n  Fov {\n    Bogus\n  }\n}\n"); })
                  .find("CameraEffect unable to load FOV track"),
              std::string::npos);
    EXPECT_NE(message([&] { load("Camera {\n  Target {\n  }\n}\n"); })
                  .find("CameraEffect unable to load Target track"),
              std::string::npos);
}

TEST_F(SceneEffectsTest, SceneThatDoesNotLoadStopsTheScript)
{
    EXPECT_FALSE(load("Scene {\n  Scene \"nowhere.scene\"\n}\nFlash {\n}\n"));
    EXPECT_TRUE(timeline.pending().empty());
    const std::string empty = writeScene("no nodes here\n");
    EXPECT_FALSE(load("Scene {\n  Scene \"" + empty + "\"\n}\n"));
}

TEST_F(SceneEffectsTest, CameraDefaultsAndTwinsByName)
{
    ASSERT_TRUE(load("Camera {\n  Name \"cam\"\n  Start 0\n  End 10\n}\n"
                     "Camera {\n  Name \"cam\"\n  Clip 2 50\n  Start 0\n  End 10\n}\n"));
    auto* first = pending<CameraEffect>(0);
    auto* second = pending<CameraEffect>(1);
    timeline.prepareAll();
    ASSERT_TRUE(first->camera && second->camera);
    EXPECT_EQ(cameras.find("cam"), first->camera);
    EXPECT_EQ(cameras.current(), first->camera);
    EXPECT_EQ(cameras.cameras().size(), 1u) << "the twin is refused";
    EXPECT_EQ(second->camera->nearClip, 2.0f);
    EXPECT_EQ(second->camera->farClip, 50.0f);
    first->update(1.0f);
    EXPECT_EQ(first->camera->fov, 45.0f);
    EXPECT_EQ(first->camera->position, Vector3(0, 0, 1));
    EXPECT_EQ(first->camera->direction, Vector3(0, 0, -1));
    EXPECT_EQ(first->camera->farClip, 1024.0f);
    // A camera writes no block.
    std::ostringstream saved;
    EXPECT_TRUE(first->save(saved));
    EXPECT_EQ(saved.str(), "");

    // Releasing the refused twin leaves the registered camera alone.
    second->release();
    EXPECT_EQ(cameras.find("cam"), first->camera);
    first->release();
    EXPECT_EQ(cameras.find("cam"), nullptr);
    EXPECT_EQ(cameras.current(), nullptr);
}

TEST_F(SceneEffectsTest, TwoCamerasSwitchTheViewAtTheirVisibilityKeys)
{
    const std::string scene = writeScene("Group {\n  Mesh {\n    Name \"dot.msh\"\n    Position 2 0 0\n  }\n}\n");
    auto camera = [](const char* name, const char* eye, const char* visibleKeys) {
        return std::string("Camera {\n  Name \"") + name + "\"\n  Start 0\n  End 20\n  Layer 0\n"
               "  Keyframer {\n    Translate {\n      NumKeys 1\n      Key 0 " + eye + "\n    }\n"
               "    Visible {\n      " + visibleKeys + "\n    }\n  }\n}\n";
    };
    ASSERT_TRUE(load(camera("front", "0 0 -10", "NumKeys 2\n      Key 0\n      Key 5") +
                     camera("back", "0 0 10", "NumKeys 1\n      Key 5") +
                     "Scene {\n  Start 0\n  End 20\n  Layer 1\n  Scene \"" + scene + "\"\n}\n"));
    timeline.prepareAll();
    // From the front (looking along +z) world +x is on the screen's left; from the back, right.
    const int left = 204, right = 436;
    frame(1.0f);
    EXPECT_PIXEL_NEAR(testgl::readPixel(left, 240), 255, 255, 255, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(right, 240), 0, 0, 0, 2);
    EXPECT_EQ(cameras.current()->name, "front");
    frame(6.0f);
    EXPECT_EQ(cameras.current()->name, "back");
    EXPECT_PIXEL_NEAR(testgl::readPixel(left, 240), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(right, 240), 255, 255, 255, 2);
}

TEST_F(SceneEffectsTest, UnnamedCameraTwinsNeverLeaveTheViewOnARefusedCamera)
{
    // Unnamed Camera effects all carry the name "": only the first is registered. The refused
    // twin is visible from 0 but must never become current, and its release at the end of its
    // window must leave the scene drawn through a live camera.
    const std::string scene = writeScene("Group {\n  Mesh {\n    Name \"dot.msh\"\n  }\n}\n");
    auto camera = [](const char* eye, const char* end) {
        return std::string("Camera {\n  Start 0\n  End ") + end + "\n  Layer 0\n"
               "  Keyframer {\n    Translate {\n      NumKeys 1\n      Key 0 " + eye + "\n    }\n"
               "    Visible {\n      NumKeys 1\n      Key 0\n    }\n  }\n}\n";
    };
    ASSERT_TRUE(load(camera("0 0 -10", "20") + camera("0 0 -500", "5") +
                     "Scene {\n  Start 0\n  End 20\n  Layer 1\n  Scene \"" + scene + "\"\n}\n"));
    auto* first = pending<CameraEffect>(0);
    timeline.prepareAll();
    ASSERT_EQ(cameras.cameras().size(), 1u);
    frame(1.0f);
    EXPECT_EQ(cameras.current(), first->camera);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 255, 255, 255, 2);
    frame(6.0f); // the twin's window has ended: it is released and destroyed
    EXPECT_EQ(cameras.current(), first->camera);
    EXPECT_PIXEL_NEAR(testgl::readPixel(320, 240), 255, 255, 255, 2);

    // A camera the manager does not own is dropped as current before it is destroyed, however
    // it got there.
    CameraEffect lone;
    lone.name = "cam";
    lone.prepare();
    CameraEffect refused;
    refused.name = "cam";
    refused.prepare();
    cameras.setCurrent(refused.camera);
    refused.release();
    EXPECT_EQ(cameras.current(), nullptr);
    lone.release();
}

TEST_F(SceneEffectsTest, SceneLightsLightTheSceneEffect)
{
    const std::string scene = writeScene("Group {\n  DirectionalLight {\n    Diffuse 0 1 0 1\n"
                                         "    Direction 0 0 -1\n  }\n  Mesh {\n    Name \"tile.msh\"\n  }\n}\n");
    ASSERT_TRUE(load("Camera {\n  Start 0\n  End 20\n  Keyframer {\n    Translate {\n      NumKeys 1\n"
                     "      Key 0 0 0 30\n    }\n  }\n}\n"
                     "Scene {\n  Start 0\n  End 20\n  Layer 1\n  Scene \"" + scene + "\"\n}\n"));
    timeline.prepareAll();
    frame(1.0f);
    // Lit green by the light; only the global ambient's fifth of the white tile is left in red.
    const testgl::Rgba lit = testgl::readPixel(320, 240);
    EXPECT_GT(lit.g, 200);
    EXPECT_LT(lit.r, 70);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "lighting is back off after the scene";
}

TEST_F(SceneEffectsTest, MeshEffectDrawsUnderItsAnimatorAndSavesItsMesh)
{
    ASSERT_TRUE(load("Mesh {\n  Name \"m\"\n  Start 0\n  End 10\n  Mesh \"tile.msh\"\n"
                     "  Keyframer {\n    Translate {\n      Type \"Linear\"\n      NumKeys 2\n"
                     "      Key 0 100 100 0\n      Key 10 500 100 0\n    }\n  }\n}\n"
                     "Mesh {\n  Name \"none\"\n  Mesh \"missing.msh\"\n}\n"));
    auto* effect = pending<MeshEffect>(0);
    ASSERT_NE(effect->mesh, nullptr);
    EXPECT_EQ(pending<MeshEffect>(1)->mesh, nullptr);
    std::ostringstream saved;
    effect->save(saved);
    EXPECT_NE(saved.str().find("\tMesh \"tile.msh\"\n"), std::string::npos);
    // When the common lines fail (here the animator's block), the writer says so.
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_FALSE(effect->save(broken));

    timeline.prepareAll();
    glDisable(GL_DEPTH_TEST);
    frame(5.0f);  // the fixture's 640 × 480 screen space; the tile is 40 across at (300, 100)
    EXPECT_PIXEL_NEAR(testgl::readPixel(300, 100), 255, 255, 255, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(300, 130), 0, 0, 0, 2);
    EXPECT_PIXEL_NEAR(testgl::readPixel(100, 100), 0, 0, 0, 2);
}

} // namespace

TEST_F(SceneEffectsTest, AWhiteLitSceneAfterARedLitOneIsNotTinted)
{
    // Two scene effects, the first lit red, the second by a grey light, each with its own tile.
    const std::string red = writeScene("Group {\n  DirectionalLight {\n    Diffuse 1 0 0 1\n"
                                       "    Direction 0 0 -1\n  }\n  Mesh {\n    Name \"tile.msh\"\n  }\n}\n");
    const std::string white = testfiles::tempDir("scene-effect-white") + "/white.scene";
    testfiles::writeFile(white, "Group {\n  DirectionalLight {\n    Diffuse 0.6 0.6 0.6 1\n    Direction 0 0 -1\n"
                                "  }\n  Mesh {\n    Name \"dot.msh\"\n  }\n}\n");
    ASSERT_TRUE(load("Camera {\n  Start 0\n  End 20\n  Keyframer {\n    Translate {\n      NumKeys 1\n"
                     "      Key 0 0 0 30\n    }\n  }\n}\n"
                     "Scene {\n  Start 0\n  End 20\n  Layer 1\n  Scene \"" + red + "\"\n}\n"
                     "Scene {\n  Start 0\n  End 20\n  Layer 2\n  Scene \"" + white + "\"\n}\n"));
    timeline.prepareAll();
    for (float t : {0.0f, 1.0f / 60.0f}) {
        frame(t);
        // The small tile in the middle (drawn last, over the red one at the same depth) is
        // grey: the red light is off by the time it draws.
        const testgl::Rgba middle = testgl::readPixel(320, 240);
        EXPECT_GT(middle.g, 120);
        EXPECT_NEAR(middle.r, middle.g, 12) << "tinted by the first scene's light";
        EXPECT_NEAR(middle.b, middle.g, 12);
        // The red tile around it is red.
        const testgl::Rgba around = testgl::readPixel(320 + 100, 240);
        EXPECT_GT(around.r, 200);
        EXPECT_LT(around.g, 70);
    }
    // Lights off and their slots free.
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(glIsEnabled(GLenum(GL_LIGHT0 + i))) << "light " << i;
    const GLenum slot = LightSlots::shared().allocate();
    EXPECT_EQ(slot, GLenum(GL_LIGHT0));
    LightSlots::shared().release(slot);
}
