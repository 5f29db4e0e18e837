#include "scenes/WaterSimulation.h"

#include "core/ExtensionRegistry.h"
#include "core/FixedSteps.h"
#include "core/GL.h"
#include "core/PBuffer.h"
#include "material/Material.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

#include <cmath>

namespace {

// A private copy of a mesh's vertices, coordinates and faces, the deformers' undeformed source.
std::unique_ptr<Mesh> copyMesh(const Mesh& source)
{
    auto copy = std::make_unique<Mesh>();
    copy->flags = source.flags;
    copy->name = source.name;
    if (!copy->allocate(source.vertices.size(), source.faces.size()))
        return copy;
    MeshTexCoord pairs[Mesh::kTexCoordSets];
    for (int v = 0; v < source.vertices.size(); ++v) {
        int sets = 0;
        for (int k = 0; k < Mesh::kTexCoordSets && source.hasTexCoords(k); ++k, ++sets)
            pairs[k] = v < source.texCoords[k].size() ? source.texCoords[k][v] : MeshTexCoord{};
        copy->addVertex(source.vertices[v], {pairs, std::size_t(sets)});
    }
    for (const MeshFace& face : source.faces)
        copy->addFace(face);
    copy->boundsMin = source.boundsMin;
    copy->boundsMax = source.boundsMax;
    return copy;
}

} // namespace

bool WaterSimulation::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadShaders("data\\scr\\watersimulation.shader", "UNABLE TO LOAD SHADERS 'watersimulation.shader'")
        && loadScene("data\\scr\\watersimulation.scene", "UNABLE TO LOAD SCENE 'watersimulation.scene'")
        && findMaterial("WaterShader", waterShader, "UNABLE TO FIND SHADER 'WaterShader'")
        && findMesh("./pstar.msh", star, "UNABLE TO LOAD OBJECT 'pstar.msh'");
    });
    if (!loaded)
        return false;

    undeformedStar = copyMesh(*star);
    undeformedStar->textureUnit[0] = GL_TEXTURE0_ARB;
    star->textureUnit[0] = GL_TEXTURE0_ARB;

    using namespace deformaxis;
    const Vector3 twistCentres[3] = {{1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 1.0f}};
    const int twistAxes[3] = {kZ, kY, kX};
    for (int i = 0; i < 3; ++i) {
        twist[i].setup({4.0f, 4.0f, 4.0f}, {0.0f, 0.0f, 0.0f}, twistAxes[i], 0);
        twist[i].centre = twistCentres[i];
    }
    ripple.setWave(kX, 2.0f, -2.0f, 12.0f, 2.3f, 0.0f, 0.2f);
    ripple.setWave(kY, -2.0f, 2.0f, 12.0f, 2.3f, 0.0f, 0.2f);
    ripple.setWave(kZ, -2.0f, 2.0f, 12.0f, 2.3f, 0.0f, 0.2f);

    buildSurface();
    grid.build(24, false);
    return true;
}

bool WaterSimulation::release()
{
    surface.reset();
    undeformedStar.reset();
    star = nullptr;
    waterShader = nullptr;  // given back by the base with the other references
    return DemoScene::release();
}

void WaterSimulation::buildSurface()
{
    surface = std::make_unique<WaterSurface>();
    surface->init(kGrid, kGrid, kDepth, kHalfSize);
    surface->fresnelColour = true;
    surface->damping = 0.75f;
    surface->textureUnit[0] = GL_TEXTURE1_ARB;
}

WaterSimulation::Cell WaterSimulation::dropCell(float t)
{
    const float h = 10.0f * std::cos(t);
    const float l = 10.0f * std::sin(t);
    return {30 + int(std::trunc(h + l)), 30 - int(std::trunc(h - l))};
}

bool WaterSimulation::dropFor(float t, float dt)
{
    if (!surface || t < kDropsStart || t > kDropsEnd)
        return false;
    dropTimer -= dt;
    if (dropTimer <= 0.0f) {
        dropTimer += kDropInterval;
        const Cell cell = dropCell(t);
        surface->addDrop(cell.column, cell.row, kDropHeight);
    }
    return true;
}

void WaterSimulation::advanceSurface(float t, float dt, const Vector3& eye)
{
    if (dropFor(t, dt))
        surface->step(dt, eye);
}

void WaterSimulation::catchUp(float time, float step)
{
    DemoScene::catchUp(time, step);
    float lastMoved = -1.0f;
    forEachStep(start, time, step, [&](float t) {
        const float dt = frameTime(t);
        if (ready() && dropFor(t, dt)) {
            surface->moveHeights(dt);
            lastMoved = t;
        }
    });
    // Inside the drop window the regular update's step shades the surface; past it the surface
    // keeps the shading of the window's last frame, seen from where the camera was then.
    if (lastMoved >= 0.0f && time > kDropsEnd) {
        scene.update(lastMoved);
        surface->shade(eye());
    }
}

Vector3 WaterSimulation::eye()
{
    CameraManager* cameras = CameraManager::instance;
    Camera* camera = cameras ? cameras->current() : nullptr;
    return camera ? camera->position : Vector3{};
}

void WaterSimulation::deformStar(float t)
{
    if (!star || !undeformedStar)
        return;
    twist[0].setAngles({0.0f, 0.0f, 2.0f * std::cos(t)});
    twist[1].setAngles({0.0f, 2.0f * std::sin(t), 0.0f});
    twist[2].setAngles({2.0f * std::cos(t), 0.0f, 0.0f});
    twist[0].applyToMesh(*undeformedStar, *star);
    twist[1].applyToMesh(*star, *star);
    twist[2].applyToMesh(*star, *star);
    ripple.phase = t;
    ripple.applyToMesh(*star, *star);
    star->computeFacePlanes();
    star->computeVertexNormals();
}

float WaterSimulation::frameTime(float time)
{
    // The first frame has no previous one: a show started inside the window (or the gap from 0
    // to the scene's start) must not reach the springs as one huge step, which would blow the
    // surface up and leave the drop timer owing drops for many frames.
    const float dt = updated_ ? time - lastTime : 0.0f;
    updated_ = true;
    lastTime = time;
    return dt;
}

void WaterSimulation::update(float time)
{
    const float dt = frameTime(time);
    if (!ready())
        return;
    scene.update(time);
    deformStar(time);
    advanceSurface(time, dt, eye());
}

void WaterSimulation::drawScene()
{
    pushSceneState();
    glDisable(GL_LIGHTING);
    Camera* camera = applyCurrentCamera();
    if (!camera) {
        popSceneState();
        return;
    }
    const Frustum frustum = camera->frustumPlanes();
    if (surface && !frustum.outside({{0.0f, 0.0f, 0.0f}, kSurfaceRadius})) {
        glColor3f(1.0f, 1.0f, 1.0f);
        // Unit 0 generates only s and t; r and q are the unit's current coordinate, pinned here
        // at 0 and 1 so the projective matrix sees a point whatever was drawn before.
        if (ext::glMultiTexCoord4fARB)
            ext::glMultiTexCoord4fARB(GL_TEXTURE0_ARB, 0.0f, 0.0f, 0.0f, 1.0f);
        waterShader->bind();
        surface->begin();
        surface->draw(false);
        surface->end();
        waterShader->unbind();
    }
    glEnable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    scene.render(camera);
    popSceneState();
}

void WaterSimulation::drawDistorted(float t)
{
    PBuffer* pbuffer = PBuffer::instance;
    if (!pbuffer || !pass.begin(*pbuffer, true)) {
        drawScene();
        return;
    }
    drawScene();
    pass.end(*pbuffer);

    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    pbuffer->bindTexture(GL_TEXTURE0_ARB);
    // The picture as it was drawn: tinted by the colour only, whatever the last material left.
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    grid.draw();

    // The undistorted picture breathing in and out over the wobbling one.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 640.0, 0.0, 480.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, (std::sin(1.14f * t) + 1.0f) * 0.5f);
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(640.0f, 480.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, 480.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(640.0f, 0.0f);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    pbuffer->releaseTexture(GL_TEXTURE0_ARB);
    glPopAttrib();
}

void WaterSimulation::render()
{
    if (!ready())
        return;
    const float t = lastTime;
    if (t > kDistortStart && t < kDistortEnd)
        drawDistorted(t);
    else
        drawScene();
}
