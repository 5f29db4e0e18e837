// The hand-written scenes against a copy of the build's show data: with every file present they
// load without a box; with one file taken away exactly that scene shows its own box, stops
// loading and later draws nothing in its window.
#include "GLFixture.h"
#include "GLStateSnapshot.h"
#include "ShowFolder.h"
#include "TestFiles.h"
#include "effects/EffectTimeline.h"
#include "font/ConsoleFont.h"
#include "geometry/MeshFile.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "material/Material.h"
#include "material/RenderState.h"
#include "platform/MessageBox.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenes/AlienMorphScene.h"
#include "scenes/DirtyCellar.h"
#include "scenes/GeometricWorld.h"
#include "scenes/GreetingsScene.h"
#include "scenes/GreetingsText.h"
#include "scenes/Introduction.h"
#include "scenes/TunnelScene.h"
#include "scenes/Vizidedar.h"
#include "scenes/WaterSimulation.h"
#include "scenes/WaterSurface.h"
#include "effects/ParticleEffect.h"
#include "particles/ParticleRenderer.h"
#include "particles/ParticleSystem.h"
#include "scenegraph/Camera.h"
#include "texture/Texture.h"
#include "script/ImageScriptException.h"
#include "core/Random.h"
#include "core/RestingGLState.h"
#include "core/ShowValues.h"
#include "core/PBuffer.h"
#include "texture/TextureManager.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct SceneCase {
    const char* label;
    std::function<std::unique_ptr<DemoScene>()> make;
    const char* missing;  // the file taken away
    const char* title;
    const char* text;
};

template <class T>
std::unique_ptr<DemoScene> make()
{
    return std::make_unique<T>();
}

const SceneCase kCases[] = {
    {"intro script", make<Introduction>, "data/scr/intro.shader", "SCENE ERROR", "UNABLE TO LOAD SHADERS 'intro.shader'"},
    {"intro scene", make<Introduction>, "data/scr/intro_boks.scene", "SCENE ERROR", "UNABLE TO LOAD SCENE 'intro_boks.scene'"},
    {"boid", make<Introduction>, "data/obj/boid.msh", "SCENE ERROR", "UNABLE TO LOAD OBJECT 'boid.msh'"},
    {"head target", make<Introduction>, "data/obj/bitehead-anim-002.msh", "SCENE ERROR",
     "UNABLE TO LOAD OBJECT 'bitehead-anim-002.msh'"},
    {"water script", make<WaterSimulation>, "data/scr/watersimulation.shader", "SCENE ERROR",
     "UNABLE TO LOAD SHADERS 'watersimulation.shader'"},
    {"water scene", make<WaterSimulation>, "data/scr/watersimulation.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'watersimulation.scene'"},
    {"tunnel effects", make<TunnelScene>, "data/scr/tunnelscene.effect", "SCENE ERROR",
     "UNABLE TO LOAD EFFECTS 'tunnelscene.effect'"},
    {"tunnel scene", make<TunnelScene>, "data/scr/tunnelscene.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'tunnelscene.scene'"},
    {"cellar script", make<DirtyCellar>, "data/scr/dirtycellar.shader", "SCRIPT ERROR", "Unable to load shaders script"},
    {"cellar scene", make<DirtyCellar>, "data/scr/dirtycellar.scene", "SCENE ERROR", "UNABLE TO LOAD SCENE"},
    {"backdrop", make<GeometricWorld>, "data/art/fire-city.jpg", "SCENE ERROR", "UNABLE TO LOAD BACKDROP 'fire-city'"},
    {"geometric scene", make<GeometricWorld>, "data/scr/geometricworld.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'geometricworld.scene'"},
    {"vizidedar script", make<Vizidedar>, "data/scr/vizidedar.shader", "SCENE ERROR",
     "UNABLE TO LOAD SHADERS 'vizidedar.shader'"},
    {"vizidedar scene", make<Vizidedar>, "data/scr/vizidedar.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'vizidedar.scene'"},
    {"alien envelope", make<AlienMorphScene>, "data/scr/alienscene_metaballs.envelope", "SCENE ERROR",
     "UNABLE TO OPEN FILE 'alienscene_metaballs.envelope'"},
    {"alien script", make<AlienMorphScene>, "data/scr/alienscene.shader", "SCENE ERROR",
     "UNABLE TO LOAD SHADERS 'alienscene.shader'"},
    {"eyeball script", make<AlienMorphScene>, "data/scr/eyeball_scene.shader", "SCENE ERROR",
     "UNABLE TO LOAD SHADERS 'eyeball_scene.shader'"},
    {"eyeball scene", make<AlienMorphScene>, "data/scr/eyeball_scene.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'eyeball_scene'"},
    {"greetings script", make<GreetingsScene>, "data/scr/greetings.shader", "SCRIPT ERROR",
     "Unable to load shaders script"},
    {"greetings scene", make<GreetingsScene>, "data/scr/greetings.scene", "SCENE ERROR",
     "UNABLE TO LOAD SCENE 'greetings.scene'"},
};

// The mean brightness of the frame, 0..765.
double meanBrightness()
{
    const std::vector<unsigned char> pixels = testgl::readPixels(640, 480);
    double sum = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    return sum / double(640 * 480);
}

// Updates and draws the scene at a time inside its window, from a cleared frame.
double drawAt(DemoScene& scene, float time)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    scene.update(time);
    scene.render();
    return meanBrightness();
}

class SceneLoading : public GLTest {};

} // namespace

TEST_F(SceneLoading, EveryScenePreparesWithoutABoxAndDrawsItsWindow)
{
    ShowFolder show;
    std::vector<std::unique_ptr<DemoScene>> scenes;
    for (auto make : {make<Introduction>, make<WaterSimulation>, make<TunnelScene>, make<DirtyCellar>,
                      make<GeometricWorld>, make<Vizidedar>, make<AlienMorphScene>, make<GreetingsScene>})
        scenes.push_back(make());
    for (auto& scene : scenes) {
        EXPECT_TRUE(scene->prepare()) << scene->name;
        EXPECT_EQ(scene->layer, 100);
        EXPECT_TRUE(scene->ready());
    }
    EXPECT_TRUE(show.boxes.empty()) << show.boxes.front().first << ": " << show.boxes.front().second;
    ASSERT_TRUE(CameraManager::instance->find(AlienMorphScene::kCameraName));

    // A scene that plays its scene graph puts its lit geometry on the screen, and gives the
    // resting state back: lights, matrices, texture units and all (the update, where a scene
    // may make its camera current, comes before the first look).
    for (auto& scene : scenes) {
        if (scene->name == "AlienMorphScene")
            continue;  // its own drawing comes with its algorithms
        const float middle = (scene->start + scene->end) * 0.5f;
        applyRestingGLState();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        scene->update(middle);
        const GLSnapshot before = GLSnapshot::take();
        EXPECT_GT(drawAt(*scene, middle), 4.0) << scene->name;
        EXPECT_EQ(differences(before, GLSnapshot::take()), "") << scene->name;
    }
    DemoScene& alien = *scenes[6];
    EXPECT_GT(drawAt(alien, 285.0f), 1.0);  // the eye creature, small on black
    for (auto& scene : scenes)
        EXPECT_TRUE(scene->release());
}

TEST_F(SceneLoading, AMissingFileShowsThatStepsBoxOnlyAndTheSceneDrawsNothing)
{
    for (const SceneCase& c : kCases) {
        SCOPED_TRACE(c.label);
        ShowFolder show;
        show.remove(c.missing);
        std::unique_ptr<DemoScene> scene = c.make();
        EXPECT_FALSE(scene->prepare());
        EXPECT_FALSE(scene->ready());
        ASSERT_EQ(show.boxes.size(), 1u);
        EXPECT_EQ(show.boxes[0].first, c.title);
        EXPECT_EQ(show.boxes[0].second, c.text);

        // Switched on all the same: updating and drawing it neither fails nor draws.
        const float middle = (scene->start + scene->end) * 0.5f;
        EXPECT_EQ(drawAt(*scene, middle), 0.0);
        EXPECT_EQ(drawAt(*scene, scene->end), 0.0);
        EXPECT_TRUE(scene->release());
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(SceneLoading, ABrokenEnvelopeAndAMissingMaterialHaveTheirOwnBoxes)
{
    {
        ShowFolder show;
        testfiles::writeFile("data/scr/alienscene_metaballs.envelope", "{ Envelope\n2\nKey 0 0 0 0 0 0 0 0 0 0\nbroken\n");
        AlienMorphScene scene;
        EXPECT_FALSE(scene.prepare());
        ASSERT_EQ(show.boxes.size(), 1u);
        EXPECT_EQ(show.boxes[0].second, "UNABLE TO LOAD ENVELOPE FROM 'alienscene_metaballs.envelope'");
    }
    {
        ShowFolder show;
        // A script that loads but lacks the material the scene looks up.
        testfiles::writeFile("data/scr/watersimulation.shader", "Shader {\n\tName \"SomethingElse\"\n}\n");
        WaterSimulation scene;
        EXPECT_FALSE(scene.prepare());
        ASSERT_FALSE(show.boxes.empty());
        EXPECT_EQ(show.boxes.back().second, "UNABLE TO FIND SHADER 'WaterShader'");
        EXPECT_EQ(show.boxes.size(), 1u);
    }
}

TEST_F(SceneLoading, AScriptErrorInsideAnExistingShaderStillStopsStartUp)
{
    ShowFolder show;
    testfiles::writeFile("data/scr/vizidedar.shader", "Shader {\n\tName \"X\"\n\tNonsense here\n}\n");
    Vizidedar scene;
    EXPECT_THROW(scene.prepare(), ImageScriptException);
    EXPECT_TRUE(show.boxes.empty());
}

TEST_F(SceneLoading, EveryMaterialTheGeneratedMeshesNameIsDefinedByTheScripts)
{
    ShowFolder show;
    // The scenes' own scripts and the overlay library (the interlude's meshes use its materials).
    for (const auto& entry : fs::directory_iterator("data/scr")) {
        if (entry.path().extension() == ".shader") {
            ASSERT_TRUE(MaterialLibrary::instance->load(entry.path().string())) << entry.path();
        }
    }
    int checked = 0;
    for (const auto& entry : fs::directory_iterator("data/obj")) {
        if (entry.path().extension() != ".msh")
            continue;
        std::vector<std::string> names;
        ASSERT_TRUE(meshfile::materialNames(entry.path().string(), names)) << entry.path();
        for (const std::string& name : names) {
            // The reference is kept: giving back the last one but the library's removes the material.
            EXPECT_TRUE(MaterialLibrary::instance->find(name))
                << entry.path().filename() << " names \"" << name << "\"";
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

TEST_F(SceneLoading, TheIntroductionMovesItsFlockRipplesTheBlobsAndMorphsTheHead)
{
    ShowFolder show;
    show::resetSceneValues();
    show::resetRandom();
    Introduction intro;
    ASSERT_TRUE(intro.prepare());
    ASSERT_TRUE(intro.flock);
    ASSERT_EQ(intro.flock->groups().size(), 5u);
    for (const FlockGroup& group : intro.flock->groups()) {
        EXPECT_EQ(group.count(), 10);
        EXPECT_EQ(group.mesh, intro.boid);
    }
    const Vector3 first = intro.flock->groups().front().boids.front().position;
    intro.update(1.0f / 60.0f);
    EXPECT_NE(intro.flock->groups().front().boids.front().position.x, first.x);

    // Outside the blob window the blob keeps its shape; inside it the vertices leave the copy.
    const Vector3 rest = intro.blob->vertices[0].position;
    intro.update(5.0f);
    EXPECT_EQ(intro.blob->vertices[0].position.x, rest.x);
    float moved = 0.0f;
    intro.update(15.0f);
    for (int i = 0; i < intro.blob->vertices.size(); ++i)
        moved += (intro.blob->vertices[i].position - intro.blobShape.vertices()[std::size_t(i)].position).length();
    EXPECT_GT(moved, 0.1f);

    // From 30 s the weight grows at the ping-pong speed, and the head lies between its shapes.
    intro.update(29.99f);
    EXPECT_EQ(show::sceneValues.morphWeight, 0.0f);
    intro.update(30.0f);
    for (int frame = 1; frame <= 60; ++frame)
        intro.update(30.0f + frame / 60.0f);
    EXPECT_NEAR(show::sceneValues.morphWeight, 0.30003f + 0.01f * 0.30003f, 1e-3f);
    int between = 0;
    for (int i = 0; i < intro.headFrom->vertices.size(); ++i) {
        const Vector3 a = intro.headShape.vertices()[std::size_t(i)].position;
        const Vector3 b = intro.headTo->vertices[i].position;
        const Vector3 expect = a + (b - a) * show::sceneValues.morphWeight;
        between += (intro.headFrom->vertices[i].position - expect).length() < 1e-3f;
    }
    EXPECT_EQ(between, intro.headFrom->vertices.size());

    EXPECT_GT(drawAt(intro, 31.0f), 4.0);
    EXPECT_TRUE(intro.release());
    show::resetSceneValues();
}

TEST_F(SceneLoading, TheIntroRoomHoldsTheFlocksSpaceAndTheCameraSeesTheFlockThroughout)
{
    ShowFolder show;
    show::resetSceneValues();
    show::resetRandom();
    Introduction intro;
    ASSERT_TRUE(intro.prepare());
    const Mesh* room = MeshManager::instance->find("./intro_boks.msh");
    ASSERT_TRUE(room);
    // Creatures bounce at the flock's bounds: the room must hold them with their wing tips.
    float reach = 0.0f;
    for (const MeshVertex& v : intro.boid->vertices)
        reach = std::max(reach, v.position.length());
    for (int a = 0; a < 3; ++a) {
        EXPECT_LE(room->boundsMin.data()[a], intro.flock->boundsMin().data()[a] - reach) << a;
        EXPECT_GE(room->boundsMax.data()[a], intro.flock->boundsMax().data()[a] + reach) << a;
    }

    // Played at 60 frames a second, every two seconds a good part of the fifty creatures is in
    // the camera's view: the flock streams off towards one corner and mills there, and the
    // camera has to keep it in sight.
    int leastSeen = 50, totalSeen = 0, samples = 0;
    for (int frame = 0; frame <= int(43.4f * 60.0f); ++frame) {
        intro.update(float(frame) / 60.0f);
        if (frame % 120 != 0)
            continue;
        Camera* camera = CameraManager::instance->current();
        ASSERT_TRUE(camera);
        ASSERT_EQ(camera->name, "IntroCamera");
        camera->setViewport(640, 480);
        camera->orient();
        const Frustum frustum = camera->frustumPlanes();
        int seen = 0;
        for (const FlockGroup& group : intro.flock->groups())
            for (const Boid& boid : group.boids)
                seen += !frustum.outside({boid.position, 0.0f});
        leastSeen = std::min(leastSeen, seen);
        totalSeen += seen;
        ++samples;
    }
    EXPECT_GE(leastSeen, 10);
    EXPECT_GE(totalSeen, samples * 25);
    EXPECT_TRUE(intro.release());
    show::resetSceneValues();
}

TEST_F(SceneLoading, TheGeometricWorldKeepsThePictureWhilePlayingAndClearsAfterItsRelease)
{
    ShowFolder show;
    show::resetSceneValues();
    GeometricWorld world;
    ASSERT_TRUE(world.prepare());
    world.update(215.0f);
    EXPECT_FALSE(show::clearColourBuffer);
    show::clearColourBuffer = true;  // the frame itself never sets it back
    world.update(215.02f);
    EXPECT_FALSE(show::clearColourBuffer);
    EXPECT_TRUE(world.release());
    EXPECT_TRUE(show::clearColourBuffer);

    show::sceneValues.morphWeight = 0.7f;
    show::sceneValues.morphSpeed = -0.3f;
    show::clearColourBuffer = false;
    show::resetSceneValues();
    EXPECT_EQ(show::sceneValues.morphWeight, 0.0f);
    EXPECT_FLOAT_EQ(show::sceneValues.morphSpeed, 0.30003002f);
    EXPECT_TRUE(show::clearColourBuffer);
}

// Records the blending in force when its material binds.
struct BlendProbe : RenderState {
    void apply() override
    {
        ++binds;
        blending = blending && glIsEnabled(GL_BLEND);
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
    }
    void restore() override {}
    int binds = 0;
    bool blending = true;
    GLint source = 0, destination = 0;
};

TEST_F(SceneLoading, TheGeometricWorldDrawsItsGraphWithTheBackdropsBlending)
{
    ShowFolder show;
    show::resetSceneValues();
    GeometricWorld world;
    ASSERT_TRUE(world.prepare());
    std::unique_ptr<PBuffer> buffer(createPBuffer());
    ASSERT_TRUE(buffer && buffer->create(512, 512));
    PBuffer* saved = PBuffer::instance;
    PBuffer::instance = buffer.get();
    std::vector<BlendProbe*> probes;
    for (const char* name : {"GeoSpikes", "GeoRing"}) {
        Material* material = MaterialLibrary::instance->find(name);
        ASSERT_NE(material, nullptr) << name;
        probes.push_back(&material->addState(std::make_unique<BlendProbe>()));
        MaterialLibrary::instance->release(material);
    }
    drawAt(world, 215.0f);
    int binds = 0;
    for (const BlendProbe* probe : probes) {
        binds += probe->binds;
        EXPECT_TRUE(probe->blending);
        if (probe->binds > 0) {
            EXPECT_EQ(probe->source, GL_SRC_ALPHA);
            EXPECT_EQ(probe->destination, GL_ONE_MINUS_SRC_ALPHA);
        }
    }
    EXPECT_GT(binds, 0) << "the graph drew none of its materials";
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is restored after the scene's render";
    PBuffer::instance = saved;
    EXPECT_TRUE(world.release());
}

// Notes its material's name each time the material binds.
struct BindLog : RenderState {
    BindLog(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    void apply() override { log.push_back(name); }
    void restore() override {}
    std::vector<std::string>& log;
    std::string name;
};

TEST_F(SceneLoading, TheTunnelDrawsClustersThenItsLightsThenTheGraph)
{
    ShowFolder show;
    TunnelScene tunnel;
    ASSERT_TRUE(tunnel.prepare());
    std::vector<std::string> binds;
    for (const char* name : {"TunnelMetaballs", "vol_light", "TunnelWall"}) {
        Material* material = MaterialLibrary::instance->find(name);
        ASSERT_NE(material, nullptr) << name;
        material->addState(std::make_unique<BindLog>(binds, name));
        MaterialLibrary::instance->release(material);
    }
    const auto first = [&](const char* name) { return std::find(binds.begin(), binds.end(), name); };
    const auto last = [&](const char* name) {
        return std::find(binds.rbegin(), binds.rend(), name).base() - 1;
    };
    // Frames along the flight in which clusters and shells are drawn: each is ordered.
    int checked = 0;
    for (float t = 136.0f; t < 174.0f; t += 1.0f) {
        binds.clear();
        drawAt(tunnel, t);
        if (first("TunnelMetaballs") == binds.end() || first("vol_light") == binds.end())
            continue;
        ++checked;
        ASSERT_NE(first("TunnelWall"), binds.end()) << t;
        EXPECT_LT(last("TunnelMetaballs"), first("vol_light")) << t;
        EXPECT_LT(last("vol_light"), first("TunnelWall")) << t;
    }
    EXPECT_GT(checked, 0);
    EXPECT_TRUE(tunnel.release());
}

TEST_F(SceneLoading, TheGreetingsScrollTheirTextAndTwistThePipesFromTheUndeformedShape)
{
    // Every line fits the screen width the scroll prints it in.
    int withText = 0;
    for (const char* line : greetings::kText) {
        const float right = GreetingsScene::kTextX + ConsoleFont::kAdvance * float(std::strlen(line)) +
                            (ConsoleFont::kGlyphWidth - ConsoleFont::kAdvance);
        EXPECT_LE(right, 640.0f) << line;
        withText += line[0] != '\0';
    }
    EXPECT_EQ(withText, 47);

    ShowFolder show;
    GreetingsScene scene;
    ASSERT_TRUE(scene.prepare());
    float t = GreetingsScene::kStart;
    for (int frame = 0; frame < 60 * 10; ++frame)
        scene.update(t += 1.0f / 60.0f);
    // Ten seconds at 24 pixels a second: 240 pixels, a new line every 21 of them.
    EXPECT_EQ(scene.scroll.lastLine(), 11);

    // The twist runs from the copy, so the same time gives the same shape however often.
    scene.update(300.0f);
    const Vector3 once = scene.pipes->vertices[scene.pipes->vertices.size() / 2].position;
    for (int i = 0; i < 5; ++i)
        scene.update(300.0f);
    EXPECT_EQ(scene.pipes->vertices[scene.pipes->vertices.size() / 2].position.x, once.x);
    float moved = 0.0f;
    for (int i = 0; i < scene.pipes->vertices.size(); ++i)
        moved += (scene.pipes->vertices[i].position - scene.pipesShape.vertices()[std::size_t(i)].position).length();
    EXPECT_GT(moved, 1.0f);

    EXPECT_GT(drawAt(scene, 301.0f), 4.0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(scene.release());
}

TEST_F(SceneLoading, TheCellarDrawsItsRoomWithoutARenderTargetAndAddsTheMonitorWithOne)
{
    ShowFolder show;
    DirtyCellar cellar;
    ASSERT_TRUE(cellar.prepare());
    PBuffer* saved = PBuffer::instance;
    PBuffer::instance = nullptr;
    // At 190 s the camera faces the corner away from the turning key light; the fill and the
    // stone's ambient still make the bricks read (the unlit room gave about a third of this).
    const double room = drawAt(cellar, 190.0f);
    EXPECT_GT(room, 60.0);

    // The object is deformed from its undeformed copy each frame, not from the last frame.
    const Vector3 first = cellar.object->vertices[0].position;
    cellar.update(190.0f);
    EXPECT_EQ(cellar.object->vertices[0].position.x, first.x);

    std::unique_ptr<PBuffer> buffer(createPBuffer());
    ASSERT_TRUE(buffer && buffer->create(256, 256));
    PBuffer::instance = buffer.get();
    // The monitor camera's projection and view are not left loaded, nor anything else.
    cellar.update(190.0f);
    const GLSnapshot before = GLSnapshot::take();
    const double withMonitor = drawAt(cellar, 190.0f);
    EXPECT_NE(withMonitor, room);
    EXPECT_EQ(differences(before, GLSnapshot::take()), "");
    PBuffer::instance = saved;
    EXPECT_TRUE(cellar.release());
}

// The water's mirrored sky: unit 0 gets the surface points through the sky picture's object
// planes, and the surface's projective matrix divides by their distance in front of its
// projector. Along the whole camera path every corner of the pool (at any wave height) stays
// well in front of it, so the picture never tears, and the pool spans a real part of the picture.
TEST_F(SceneLoading, TheWaterSkyStaysInFrontOfItsProjectorAlongTheCameraPath)
{
    ShowFolder show;
    WaterSimulation water;
    ASSERT_TRUE(water.prepare());
    Texture* sky = TextureManager::instance->find("watersky");
    ASSERT_NE(sky, nullptr);
    const TextureState& state = sky->state;
    EXPECT_EQ(state.texGen, kGenObject);
    auto plane = [](const float (&p)[4], const Vector3& v) { return p[0] * v.x + p[1] * v.y + p[2] * v.z + p[3]; };

    const float h = WaterSimulation::kHalfSize;
    for (float t = water.start; t <= water.end; t += 0.25f) {
        water.update(t);
        Camera* camera = CameraManager::instance->current();
        ASSERT_NE(camera, nullptr);
        camera->applyView();
        Matrix4x4 gl;
        glGetFloatv(GL_MODELVIEW_MATRIX, gl.m);
        const Matrix4x4 m = WaterSurface::projectiveTextureMatrix(gl.transposed());
        float lowS = 1e9f, highS = -1e9f, nearest = 1e9f;
        for (float x : {-h, h})
            for (float z : {-h, h})
                for (float y : {-0.2f, 0.2f}) {
                    const Vector3 p{x, y, z};
                    const float a = plane(state.planeS, p), b = plane(state.planeT, p);
                    // (a, b, 0, 1): unit 0 generates s and t, its r and q are pinned at 0 and 1.
                    const float w = m.at(3, 0) * a + m.at(3, 1) * b + m.at(3, 3);
                    const float s = (m.at(0, 0) * a + m.at(0, 1) * b + m.at(0, 3)) / w;
                    nearest = std::min(nearest, w);
                    lowS = std::min(lowS, s), highS = std::max(highS, s);
                }
        ASSERT_GT(nearest, 2.0f) << "at " << t << " s";
        EXPECT_GT(highS - lowS, 0.1f) << "at " << t << " s";
    }
    TextureManager::instance->release(sky);
    EXPECT_TRUE(water.release());
}

// The tunnel's own script: every particle layer finds its material in the scene's materials (a
// name that is not found would draw the sparks as plain opaque squares) and plays inside the
// scene's window.
TEST_F(SceneLoading, TheTunnelsOwnLayersFindTheirMaterials)
{
    ShowFolder show;
    TunnelScene tunnel;
    ASSERT_TRUE(tunnel.prepare());
    int systems = 0;
    for (const auto& effect : show.timeline().pending()) {
        EXPECT_GE(effect->start, tunnel.start) << effect->name;
        EXPECT_LE(effect->end, tunnel.end) << effect->name;
        if (auto* particles = dynamic_cast<ParticleEffect*>(effect.get())) {
            ++systems;
            ASSERT_TRUE(particles->system && particles->system->renderer) << particles->name;
            EXPECT_NE(particles->system->renderer->material(), nullptr) << particles->name;
        }
    }
    EXPECT_GE(systems, 1);
    EXPECT_TRUE(show.boxes.empty());
    EXPECT_TRUE(tunnel.release());
}
