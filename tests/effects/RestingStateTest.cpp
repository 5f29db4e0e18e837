// Every kind gives back the GL state it changes: drawn alone and drawn after every other kind,
// the lighting, lights, fog, texture units, matrices, blending, depth, stencil and colour are
// what they were before the frame.
#include "EffectRenderFixture.h"
#include "GLStateSnapshot.h"
#include "SceneTestSupport.h"
#include "TestFiles.h"
#include "core/RestingGLState.h"
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "scenegraph/CameraManager.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

// One small block of every kind, all on at 1 s.
struct Kind {
    const char* name;
    std::string block;
};

std::vector<Kind> kinds(const std::string& scenePath, const std::string& videoPath)
{
    const std::string window = "  Start 0\n  End 10\n";
    return {
        {"Image", "Image {\n" + window + "  Image \"tile.png\"\n  Rect 100 100 200 200\n}\n"},
        {"Text", "Text {\n" + window + "  Text \"ab\"\n  Font \"Squares\"\n  Color 0 1 0 0.5\n}\n"},
        {"TextFade", "TextFade {\n" + window + "  Image \"tile.png\"\n  BlurRect 0 0 1 1\n"
                     "  TextRect 0 0 1 1\n  ScreenRect 100 100 200 100\n}\n"},
        {"Flash", "Flash {\n" + window + "  Color 1 0.5 0 0.5\n}\n"},
        {"Invert", "Invert {\n" + window + "  Rect 0 0 320 240\n}\n"},
        {"Camera", "Camera {\n" + window + "  Keyframer {\n    Translate {\n      NumKeys 1\n"
                   "      Key 0 0 2 30\n    }\n  }\n}\n"},
        {"Mesh", "Mesh {\n" + window + "  Mesh \"tile.msh\"\n}\n"},
        {"Particle", "Particle {\n" + window + "  ParticleSystem {\n    Max 50\n    SpawnRate 20\n"
                     "    Generator {\n      Type \"Sphere\"\n      Flags Respawn\n      Lifespan 2\n"
                     "    }\n    Renderer {\n      Type \"Quads\"\n      Shader \"glow\"\n    }\n  }\n}\n"},
        {"Scene", "Scene {\n" + window + "  Scene \"" + scenePath + "\"\n}\n"},
        {"Tunnel", "Tunnel {\n" + window + "  Size 12 8\n  Length 40\n  Speed 1\n  Shader \"glow\"\n}\n"},
        {"Blocks", "Blocks {\n" + window + "  Image \"tile.png\"\n  Rect -100 -100 200 200\n  Rows 2\n"
                   "  Cols 2\n  Position 0 0 -100\n  Distance 50\n}\n"},
        {"Lines", "Lines {\n" + window + "  NumLines 5\n  Speed 50\n  Color 1 1 0 0.5\n}\n"},
        {"WaveLines", "WaveLines {\n" + window + "  Shader \"glow\"\n  Flare \"glow\"\n}\n"},
        {"Stream", "Stream {\n" + window + "  Stream \"" + videoPath + "\"\n  Rect 0 0 128 128\n}\n"},
    };
}

class RestingStateTest : public EffectRenderTest {
protected:
    void SetUp() override
    {
        EffectRenderTest::SetUp();
        applyRestingGLState();
        cameras.setViewport(640, 480);
        scenetest::addSquare(meshes, "tile.msh", 2.0f);
        addTexture("tile.png", 2, 2, [](int x, int y) -> std::uint32_t { return (x + y) % 2 ? 0xFF0000FF : 0x00FF00FF; });
        // An additive, unlit material without depth writes: what particles, tunnels and wave
        // lines draw with in the show.
        std::istringstream shader("Shader {\n\tName \"glow\"\n\tBlend {\n\t\tEnable yes\n"
                                  "\t\tLighting no\n\t\tSrc ONE\n\t\tDst ONE\n\t}\n\tZBuffer {\n"
                                  "\t\tEnable yes\n\t\tWrite no\n\t}\n}\n");
        MaterialScriptReader reader(library);
        ASSERT_TRUE(reader.read(shader));
        addSquareFont(fonts);
    }
    void TearDown() override
    {
        timeline.clear();
        fonts.clear();
        EffectRenderTest::TearDown();
        testgl::resetState();
    }

    MeshManager meshes;
    CameraManager cameras;
    MaterialLibrary library;
    FontRegistry fonts;
};

TEST_F(RestingStateTest, EveryKindAloneAndAfterEveryOtherLeavesTheStateItFound)
{
    const std::string scene = testfiles::tempDir("resting-scene") + "/lit.scene";
    testfiles::writeFile(scene, "Group {\n  DirectionalLight {\n    Diffuse 1 0 0 1\n    Direction 0 0 -1\n"
                                "  }\n  Mesh {\n    Name \"tile.msh\"\n  }\n}\n");
    const std::vector<Kind> all = kinds(scene, testfiles::corpus("avi/testsrc_160x120_25fps_mjpeg.avi"));
    // The camera first (it makes itself current), so the kinds that draw through one have it.
    const std::string camera = all[5].block;
    for (const Kind& first : all) {
        for (const Kind& second : all) {
            const bool alone = &first == &second;
            SCOPED_TRACE(alone ? std::string(first.name) + " alone"
                               : std::string(second.name) + " after " + first.name);
            std::string script = camera;
            script += first.block;
            if (!alone)
                script += second.block;
            load(script);
            // Two frames from the resting state; the updates (where a camera is made current and
            // loads its projection) come before each snapshot, the drawing between them.
            testgl::resetState();
            applyRestingGLState();
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            for (float t : {1.0f, 1.0f + 1.0f / 60.0f}) {
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                timeline.update(t);
                const GLSnapshot before = GLSnapshot::take();
                timeline.renderAll();
                EXPECT_EQ(differences(before, GLSnapshot::take()), "") << "at " << t << " s";
            }
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
            timeline.clear();
        }
    }
}

} // namespace
