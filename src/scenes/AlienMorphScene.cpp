#include "scenes/AlienMorphScene.h"

#include "core/FixedSteps.h"
#include "core/GL.h"
#include "material/Material.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

#include <cmath>
#include <memory>

namespace {

// The wave phase advances this much per show second.
constexpr float kWaveSpeed = 0.128f;
constexpr float kHalfPi = 1.5707964f;

// One beam: a square tube 4 units wide and 162.5 long around the z axis, four side faces with
// inward normals and no caps; u runs twice along it, v across in two bands (faces 1 and 3 use the
// lower band, 2 and 4 the upper).
struct BeamVertex {
    float u, v;
    float nx, ny, nz;
    float x, y, z;
};
constexpr float kW = 2.0f, kL = 81.25f;
constexpr BeamVertex kBeam[16] = {
    {2, 0.5f, 0, -1, 0, kW, kW, kL},   {0, 0.5f, 0, -1, 0, -kW, kW, kL},
    {0, 0, 0, -1, 0, -kW, kW, -kL},    {2, 0, 0, -1, 0, kW, kW, -kL},
    {2, 1, 0, 1, 0, kW, -kW, kL},      {0, 1, 0, 1, 0, kW, -kW, -kL},
    {0, 0.5f, 0, 1, 0, -kW, -kW, -kL}, {2, 0.5f, 0, 1, 0, -kW, -kW, kL},
    {2, 0.5f, 1, 0, 0, -kW, kW, -kL},  {0, 0.5f, 1, 0, 0, -kW, kW, kL},
    {0, 0, 1, 0, 0, -kW, -kW, kL},     {2, 0, 1, 0, 0, -kW, -kW, -kL},
    {2, 1, -1, 0, 0, kW, kW, kL},      {0, 1, -1, 0, 0, kW, kW, -kL},
    {0, 0.5f, -1, 0, 0, kW, -kW, -kL}, {2, 0.5f, -1, 0, 0, kW, -kW, kL},
};
static_assert(sizeof(BeamVertex) == 32, "beam vertices are drawn with a stride of 32 bytes");

} // namespace

bool AlienMorphScene::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadDepthEnvelope("data\\scr\\alienscene_metaballs.envelope") &&
               loadShaders("data\\scr\\alienscene.shader", "UNABLE TO LOAD SHADERS 'alienscene.shader'") &&
               loadShaders("data\\scr\\eyeball_scene.shader", "UNABLE TO LOAD SHADERS 'eyeball_scene.shader'") &&
               findMaterial("AlienMetaballs", metaballs, "UNABLE TO FIND SHADER 'AlienMetaballs'") &&
               findMaterial("AlienWave", wave, "UNABLE TO FIND SHADER 'AlienWave'") &&
               loadScene("data\\scr\\eyeball_scene.scene", "UNABLE TO LOAD SCENE 'eyeball_scene'");
    });
    if (!loaded)
        return false;
    createCamera();
    seedBalls();
    field.init(kGridCells);
    return true;
}

bool AlienMorphScene::release()
{
    const bool released = DemoScene::release();
    metaballs = wave = nullptr;
    field = MetaballField{};
    return released;
}

bool AlienMorphScene::loadDepthEnvelope(const std::string& path)
{
    switch (depth.load(path)) {
    case Envelope::LoadResult::Loaded: return true;
    case Envelope::LoadResult::OpenFailed: return fail("UNABLE TO OPEN FILE 'alienscene_metaballs.envelope'");
    case Envelope::LoadResult::ReadFailed: break;
    }
    return fail("UNABLE TO LOAD ENVELOPE FROM 'alienscene_metaballs.envelope'");
}

void AlienMorphScene::createCamera()
{
    CameraManager* cameras = CameraManager::instance;
    if (!cameras || cameras->find(kCameraName))
        return;
    auto camera = std::make_unique<Camera>();
    camera->name = kCameraName;
    camera->setPosition({0.0f, 0.0f, -288.0f});
    camera->setDirection({0.0f, 0.0f, 1.0f});
    camera->setClip(1.0f, 1024.0f);
    camera->setFov(60.0f);
    if (cameras->add(camera.get()))
        camera.release();
}

void AlienMorphScene::seedBalls()
{
    for (int i = 0; i < kBalls; ++i) {
        const float o = std::sin(float(i) / float(kBalls) * kHalfPi);
        balls[i] = {2.0f * o, o, 0.0f, o + 1.0f};
    }
}

void AlienMorphScene::moveBalls(float t)
{
    for (int i = 0; i < kBalls; ++i) {
        const float h = float(i) / float(kBalls);
        const float g = i % 2 == 0 ? 1.0f : -1.0f;
        const float a = 2.0f * g * h * t;
        const float b = a + h * kHalfPi;
        const float x = std::cos(b) + std::sin(b);
        const float y = std::sin(a + h * 6.28f);
        const float z = std::sin(b) - std::cos(b);
        const float o = std::sin(a) + 3.75f;
        balls[i] = {o * x, o * y, o * z, o * (0.15f * std::cos(a + h * 2.47f) + 0.25f) + 0.1f};
    }
}

void AlienMorphScene::advanceWave(float time)
{
    // The light restarts from the beams' start once it has run their length.
    wavePhase += (time - lastTime) * kWaveSpeed;
    if (wavePhase >= 1.0f)
        wavePhase = 0.0f;
    lastTime = time;
}

void AlienMorphScene::catchUp(float time, float step)
{
    DemoScene::catchUp(time, step);
    forEachStep(start, time, step, [this](float t) { advanceWave(t); });
}

void AlienMorphScene::update(float time)
{
    if (!ready())
        return;
    if (time >= kEyeballTime)
        scene.update(time);
    advanceWave(time);
    if (time < kEyeballTime) {
        moveBalls(time);
        field.setBalls(balls, kBalls);
        if (CameraManager* cameras = CameraManager::instance)
            cameras->setCurrent(cameras->find(kCameraName));
    }
}

void AlienMorphScene::render()
{
    if (!ready())
        return;
    const float t = lastTime;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    // A directional light from the viewer: given in eye space, before the camera's view.
    const float fromViewer[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, fromViewer);
    glPopMatrix();

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    Camera* camera = CameraManager::instance ? CameraManager::instance->current() : nullptr;
    if (camera)
        camera->applyView();

    drawBeams(t);
    if (t < kEyeballTime) {
        drawMetaballs(t);
    } else {
        glColor3f(1.0f, 1.0f, 1.0f);
        scene.render(camera);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Eight copies of the beam about the z axis, each turned t × 12.5° further than the one before,
// with the light streaks scrolled along them by the wave phase.
void AlienMorphScene::drawBeams(float t)
{
    wave->bind();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(wavePhase, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -220.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glInterleavedArrays(GL_T2F_N3F_V3F, sizeof(BeamVertex), kBeam);
    for (int k = 0; k < 8; ++k) {
        glRotatef(t * 12.5f, 0.0f, 0.0f, 1.0f);
        glDrawArrays(GL_QUADS, 0, 16);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    wave->unbind();
}

// The blob at the envelope's depth, tumbling on three axes at half the field's size.
void AlienMorphScene::drawMetaballs(float t)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, depth.evaluate(t) * 0.15f - 242.0f);
    glRotatef(t * 80.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(t * 62.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(t * 77.0f, 0.0f, 0.0f, 1.0f);
    glScalef(0.5f, 0.5f, 0.5f);
    glColor3f(1.0f, 1.0f, 1.0f);
    metaballs->bind();
    field.render(0.5f);
    metaballs->unbind();
    glPopMatrix();
}
