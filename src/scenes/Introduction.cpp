#include "scenes/Introduction.h"

#include "core/FixedSteps.h"
#include "core/GL.h"
#include "core/ShowValues.h"
#include "scenes/MorphPingPong.h"

#include <cmath>

bool Introduction::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadShaders("data\\scr\\intro.shader", "UNABLE TO LOAD SHADERS 'intro.shader'")
        && loadScene("data\\scr\\intro_boks.scene", "UNABLE TO LOAD SCENE 'intro_boks.scene'")
        && findMesh("./blob.msh", blob, "UNABLE TO LOAD OBJECT 'blob.msh'")
        && findMesh("./blob2.msh", blob2, "UNABLE TO LOAD OBJECT 'blob2.msh'")
        && findMesh("./bitehead-anim-001.msh", headFrom, "UNABLE TO LOAD OBJECT 'bitehead-anim-001.msh'")
        && loadMesh("./bitehead-anim-002.msh", headTo, "UNABLE TO LOAD OBJECT 'bitehead-anim-002.msh'")
        && loadMesh("./boid.msh", boid, "UNABLE TO LOAD OBJECT 'boid.msh'");
    });
    if (!loaded)
        return false;
    blobShape.take(blob);
    blob2Shape.take(blob2);
    headShape.take(headFrom);
    setupDeformers();
    buildFlock();
    return true;
}

void Introduction::setupDeformers()
{
    ripple = RippleDeformer{};
    ripple.setWave(deformaxis::kX, 2.0f, -2.0f, 12.0f, 2.3f, 0.1f, 0.9f);
    ripple.setWave(deformaxis::kY, -2.0f, 2.0f, 12.0f, 2.3f, 0.25f, 0.9f);
    ripple.setWave(deformaxis::kZ, -2.0f, 2.0f, 12.0f, 2.3f, 0.5f, 0.9f);
    twist.setup({6.0f, 6.0f, 6.0f}, {0.0f, 0.0f, 0.0f}, deformaxis::kY, 7);
    twist.centre = {};
}

void Introduction::buildFlock()
{
    flock = std::make_unique<Flock>(FlockParams{});
    flock->setBounds({-256.0f, -100.0f, -256.0f}, {256.0f, 100.0f, 256.0f});
    for (int g = 0; g < kGroups; ++g) {
        FlockGroup& group = flock->addGroup(boid);
        for (int i = 0; i < kBoidsPerGroup; ++i)
            flock->addBoid(group);
    }
}

bool Introduction::release()
{
    const bool released = DemoScene::release();
    blobShape.clear();
    blob2Shape.clear();
    headShape.clear();
    flock.reset();
    return released;
}

void Introduction::deformBlob(Mesh& mesh, const ShapeCopy& shape, float amplitude, float spare,
                              float wavelength, float phaseOffset, float t)
{
    ripple.setWave(deformaxis::kY, amplitude, spare, wavelength, phaseOffset, 0.25f, 0.9f);
    ripple.phase = 8.0f * t;
    ripple.applyToVertices(shape.vertices(), vertexSpan(mesh));
    twist.setAngles({0.0f, 0.9f * std::cos(3.14f * t), 0.0f});
    twist.applyToVertices(vertexSpan(mesh), vertexSpan(mesh));
    refreshShape(mesh);
}

void Introduction::deformBlobs(float t)
{
    deformBlob(*blob, blobShape, -2.0f, 2.0f, 12.0f, 2.3f, t);
    deformBlob(*blob2, blob2Shape, -4.0f, 4.0f, 16.0f, 4.3f, t);
}

void Introduction::morphHead()
{
    morphPositions(*headFrom, headShape.vertices(), *headTo, show::sceneValues.morphWeight);
}

void Introduction::advanceFrame(float t)
{
    const float dt = t - lastTime;
    lastTime = t;
    if (!ready())
        return;
    flock->update();
    if (t >= kMorphStart && t <= kMorphEnd) {
        // The weight lives with the show so it carries on from where the last window left it.
        MorphPingPong morph{show::sceneValues.morphWeight, show::sceneValues.morphSpeed};
        morph.advance(dt);
        show::sceneValues.morphWeight = morph.weight;
        show::sceneValues.morphSpeed = morph.speed;
    }
}

void Introduction::catchUp(float time, float step)
{
    DemoScene::catchUp(time, step);
    float lastBlobFrame = -1.0f;
    forEachStep(start, time, step, [&](float t) {
        advanceFrame(t);
        if (t >= kBlobStart && t <= kBlobEnd)
            lastBlobFrame = t;
    });
    // Past their window the blobs keep the shape of its last frame; inside it the regular
    // update shapes them.
    if (ready() && lastBlobFrame >= 0.0f && time > kBlobEnd)
        deformBlobs(lastBlobFrame);
}

void Introduction::update(float t)
{
    advanceFrame(t);
    if (!ready())
        return;
    scene.update(t);
    if (t >= kBlobStart && t <= kBlobEnd)
        deformBlobs(t);
    if (t >= kMorphStart && t <= kMorphEnd)
        morphHead();
}

void Introduction::render()
{
    renderSceneGraph([&] { flock->draw(); });
}
