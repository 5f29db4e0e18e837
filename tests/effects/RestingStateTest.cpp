// Every kind gives back the GL state it changes: drawn alone and drawn after every other kind,
// the lighting, lights, fog, texture units, matrices, blending, depth, stencil and colour are
// what they were before the frame.
#include "EffectRenderFixture.h"
#include "SceneTestSupport.h"
#include "TestFiles.h"
#include "core/ExtensionRegistry.h"
#include "core/RestingGLState.h"
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "scenegraph/CameraManager.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

// Named GL values, read in a fixed order so two snapshots compare entry by entry.
struct GLSnapshot {
    std::vector<std::pair<std::string, double>> values;

    void enabled(const char* label, GLenum cap) { values.emplace_back(label, glIsEnabled(cap) ? 1.0 : 0.0); }
    void integers(const char* label, GLenum name, int count = 1)
    {
        GLint v[4] = {};
        glGetIntegerv(name, v);
        for (int i = 0; i < count; ++i)
            values.emplace_back(std::string(label) + "[" + std::to_string(i) + "]", v[i]);
    }
    void floats(const std::string& label, GLenum name, int count)
    {
        GLfloat v[16] = {};
        glGetFloatv(name, v);
        for (int i = 0; i < count; ++i)
            values.emplace_back(label + "[" + std::to_string(i) + "]", v[i]);
    }

    static GLSnapshot take()
    {
        GLSnapshot s;
        s.enabled("lighting", GL_LIGHTING);
        for (int i = 0; i < 8; ++i)
            s.enabled(("light " + std::to_string(i)).c_str(), GLenum(GL_LIGHT0 + i));
        s.enabled("colour material", GL_COLOR_MATERIAL);
        s.enabled("normalize", GL_NORMALIZE);
        s.integers("two-sided lighting", GL_LIGHT_MODEL_TWO_SIDE);
        s.enabled("fog", GL_FOG);
        s.enabled("blend", GL_BLEND);
        // The function matters only while blending is on: whoever turns it on sets it.
        if (glIsEnabled(GL_BLEND)) {
            s.integers("blend source", GL_BLEND_SRC);
            s.integers("blend destination", GL_BLEND_DST);
        }
        s.enabled("alpha test", GL_ALPHA_TEST);
        s.enabled("depth test", GL_DEPTH_TEST);
        s.integers("depth function", GL_DEPTH_FUNC);
        s.integers("depth writes", GL_DEPTH_WRITEMASK);
        s.enabled("stencil test", GL_STENCIL_TEST);
        s.integers("colour writes", GL_COLOR_WRITEMASK, 4);
        s.enabled("cull face", GL_CULL_FACE);
        s.integers("cull mode", GL_CULL_FACE_MODE);
        s.integers("front face", GL_FRONT_FACE);
        s.integers("polygon mode", GL_POLYGON_MODE, 2);
        s.floats("colour", GL_CURRENT_COLOR, 4);
        s.integers("matrix mode", GL_MATRIX_MODE);
        s.integers("attribute depth", GL_ATTRIB_STACK_DEPTH);
        s.integers("projection depth", GL_PROJECTION_STACK_DEPTH);
        s.integers("modelview depth", GL_MODELVIEW_STACK_DEPTH);
        s.floats("projection", GL_PROJECTION_MATRIX, 16);
        s.floats("modelview", GL_MODELVIEW_MATRIX, 16);
        s.integers("active unit", GL_ACTIVE_TEXTURE_ARB);
        for (int unit = 0; unit < 4; ++unit) {
            ext::glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
            const std::string u = "unit " + std::to_string(unit) + " ";
            s.enabled((u + "2D").c_str(), GL_TEXTURE_2D);
            s.enabled((u + "cube").c_str(), GL_TEXTURE_CUBE_MAP_ARB);
            s.enabled((u + "gen s").c_str(), GL_TEXTURE_GEN_S);
            s.enabled((u + "gen t").c_str(), GL_TEXTURE_GEN_T);
            s.integers((u + "matrix depth").c_str(), GL_TEXTURE_STACK_DEPTH);
            s.floats(u + "matrix", GL_TEXTURE_MATRIX, 16);
        }
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        return s;
    }
};

// The differences between two snapshots, one line each; empty when they agree.
std::string differences(const GLSnapshot& before, const GLSnapshot& after)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < before.values.size(); ++i) {
        const double a = before.values[i].second, b = after.values[i].second;
        if (std::abs(a - b) > 1e-5)
            out << "  " << before.values[i].first << ": " << a << " -> " << b << "\n";
    }
    return out.str();
}

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
