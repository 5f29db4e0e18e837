// The alien morph scene on the build's own data: the metaballs until 280 s through the scene's
// camera, then the eyeball scene graph through its camera with the balls left where they were,
// the running light's phase, and what a frame of each part puts on the screen.
#include "GLFixture.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenes/AlienMorphScene.h"
#include "texture/TextureManager.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

namespace {

// The show's managers as start-up sets them up, working in the build's data folder.
class AlienMorph : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(std::string(OCULITH_BINARY_DIR) + "/data/scr/alienscene.shader"))
            << "the build copies the show's scripts";
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(OCULITH_BINARY_DIR);
        meshes.registerDefaultHandlers();
        meshes.addSearchPath("data\\obj\\");
        textures.createDefaults();
        textures.addSearchPath("data\\art\\");
        cameras.setViewport(640, 480);
        ASSERT_TRUE(scene.prepare());
    }
    void TearDown() override
    {
        scene.release();
        std::filesystem::current_path(previous_);
        GLTest::TearDown();
    }

    const char* currentCamera() const { return cameras.current() ? cameras.current()->name.c_str() : ""; }

    // Bright pixels in the middle third of the screen and in its outer frame.
    void countBright(int& middle, int& outside)
    {
        const std::vector<unsigned char> pixels = testgl::readPixels(640, 480);
        middle = outside = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const unsigned char* p = &pixels[(std::size_t(y) * 640 + std::size_t(x)) * 4];
                if (p[0] + p[1] + p[2] < 120)
                    continue;
                const bool inMiddle = x > 213 && x < 427 && y > 160 && y < 320;
                (inMiddle ? middle : outside)++;
            }
    }

    TextureManager textures;
    MaterialLibrary library;
    MeshManager meshes;
    CameraManager cameras;
    AlienMorphScene scene;

private:
    std::filesystem::path previous_;
};

} // namespace

TEST_F(AlienMorph, MetaballsUntil280ThenTheEyeballSceneWithTheBallsHeld)
{
    scene.update(279.99f);
    EXPECT_STREQ(currentCamera(), "AlienMorphSceneCamera");
    std::vector<MetaballVertex> surface;
    scene.field.polygonise(0.5f, surface);
    EXPECT_GT(surface.size(), 300u);
    Metaball held[AlienMorphScene::kBalls];
    std::copy(scene.balls, scene.balls + AlienMorphScene::kBalls, held);

    scene.update(280.0f);
    EXPECT_STREQ(currentCamera(), "EyeballSceneCamera");
    for (int i = 0; i < AlienMorphScene::kBalls; ++i) {
        EXPECT_EQ(scene.balls[i].x, held[i].x);
        EXPECT_EQ(scene.balls[i].strength, held[i].strength);
    }
    scene.update(281.0f);
    EXPECT_EQ(scene.balls[3].y, held[3].y);
}

TEST_F(AlienMorph, WavePhaseStartsAgainFromZeroOnceItReachesOne)
{
    EXPECT_EQ(scene.wavePhase, 0.0f);
    scene.update(AlienMorphScene::kStart + 7.0f);
    EXPECT_NEAR(scene.wavePhase, 7.0f * 0.128f, 1e-4f);
    scene.update(AlienMorphScene::kStart + 8.0f);  // 1.024: back to 0, not 0.024
    EXPECT_EQ(scene.wavePhase, 0.0f);
    scene.update(AlienMorphScene::kStart + 9.0f);
    EXPECT_NEAR(scene.wavePhase, 0.128f, 1e-4f);
}

TEST_F(AlienMorph, EachPartDrawsItsSubjectInTheMiddleAndRestoresTheState)
{
    for (float t : {270.0f, 285.0f}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.update(t);
        scene.render();
        int middle = 0, outside = 0;
        countBright(middle, outside);
        // The subject fills much of the middle; the beams light the rest only in streaks.
        EXPECT_GT(middle, 214 * 160 / 4) << "at " << t;
        EXPECT_GT(outside, 1000) << "beams at " << t;
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "at " << t;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "at " << t;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << "at " << t;
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY)) << "at " << t;
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}
