#include "scenes/GeometricWorld.h"

#include "core/FixedSteps.h"
#include "core/GL.h"
#include "core/PBuffer.h"
#include "core/ShowValues.h"
#include "scenes/ScreenPasses.h"
#include "texture/Texture.h"

#include <cmath>

bool GeometricWorld::prepare()
{
    grid.build(24, true);
    return prepareWith([&] {
        return loadShaders("data\\scr\\geometricworld.shader", "UNABLE TO LOAD SHADERS 'geometricworld.shader'")
        && loadTexture("fire-city.jpg", backdrop, "UNABLE TO LOAD BACKDROP 'fire-city'")
        && findTexture("noise.jpg", noise, "UNABLE TO FIND 'noise generator'")
        && loadScene("data\\scr\\geometricworld.scene", "UNABLE TO LOAD SCENE 'geometricworld.scene'");
    });
}

void GeometricWorld::update(float time)
{
    scene.update(time);
    lastTime = time;
    // The picture of the previous frame is kept while this scene plays (set every frame, since
    // the scene can be switched on at any point of its window).
    show::clearColourBuffer = false;
}

bool GeometricWorld::release()
{
    show::clearColourBuffer = true;
    return DemoScene::release();
}

void GeometricWorld::drawBackdrop(float t)
{
    ScreenSpaceMatrices screen;
    ScreenPassState state;
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(0.25f * std::sin(3.0f * t) + 0.75f, 0.25f * std::cos(4.0f * t) + 0.75f, 1.0f);
    glTranslatef(-0.5f, -0.5f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.125f);
    backdrop->bind(GL_TEXTURE0_ARB);
    drawPictureQuad();
    backdrop->unbind(GL_TEXTURE0_ARB);
}

void GeometricWorld::catchUp(float time, float step)
{
    DemoScene::catchUp(time, step);
    show::SceneValues& values = show::sceneValues;
    forEachStep(start, time, step, [&](float) { moveGrain(values.geometricNoiseU, values.geometricNoiseV); });
}

void GeometricWorld::render()
{
    PBuffer* target = PBuffer::instance;
    if (!ready())
        return;
    if (!target || !target->created()) {
        // Without a render target there is no picture to keep: the scene graph alone.
        renderSceneGraph();
        return;
    }
    const float t = lastTime;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
    // Only depth is cleared: the previous frame's picture stays and fades under the backdrop.
    pass.begin(*target, false);
    drawBackdrop(t);
    // The backdrop's blending stays on while the scene graph draws over it, and goes back to
    // what it was once the graph is drawn.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    renderSceneGraph();
    glPopAttrib();
    drawNoisePass(*noise, t, show::sceneValues.geometricNoiseU, show::sceneValues.geometricNoiseV);
    pass.end(*target);

    // The undistorted picture over the swirling one, pulsing in opacity.
    drawThroughGrid(grid, *target, 0.4f * std::sin(3.14f * t) + 0.6f);
    glPopAttrib();
}
