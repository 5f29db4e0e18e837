#include "scenes/DirtyCellar.h"

#include "core/GL.h"
#include "core/PBuffer.h"
#include "core/ScreenSpace.h"
#include "core/ShowValues.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

#include <cmath>

bool DirtyCellar::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadShaders("data\\scr\\dirtycellar.shader", "Unable to load shaders script", "SCRIPT ERROR")
        && loadScene("data\\scr\\dirtycellar.scene", "UNABLE TO LOAD SCENE")
        && findMesh("./ting3.msh", object, "UNABLE TO LOAD OBJECT 'ting3.msh'");
    });
    if (!loaded)
        return false;
    objectShape.take(object);
    ripple = RippleDeformer{};
    for (int axis : {deformaxis::kX, deformaxis::kY, deformaxis::kZ}) {
        const float sign = axis == deformaxis::kX ? 1.0f : -1.0f;
        ripple.setWave(axis, 2.0f * sign, -2.0f * sign, 12.0f, 2.3f, 0.0f, 0.9f);
    }
    taper.setup({}, 1.0f, 1.0f, deformaxis::kY);
    taper.setExtentFromBox(object->boundsMin, object->boundsMax);
    twist.setup({2.0f, 2.0f, 2.0f}, {}, deformaxis::kY, 7);
    twist.centre = {};
    return true;
}

bool DirtyCellar::release()
{
    const bool released = DemoScene::release();
    objectShape.clear();
    return released;
}

void DirtyCellar::update(float t)
{
    lastTime = t;
    if (!ready())
        return;
    scene.update(t);
    taper.setScale1(2.0f * (std::sin(2.0f * t) + 1.1f));
    taper.setScale2(2.0f * (std::cos(2.0f * t) + 1.1f));
    taper.applyToVertices(objectShape.vertices(), vertexSpan(*object));
    ripple.phase = t;
    ripple.applyToVertices(vertexSpan(*object), vertexSpan(*object));
    twist.setAngles({0.0f, 0.9f * std::cos(t), 0.0f});
    twist.applyToVertices(vertexSpan(*object), vertexSpan(*object));
    refreshShape(*object);
}

void DirtyCellar::renderMonitorPicture(PBuffer& target)
{
    Camera* camera = CameraManager::instance ? CameraManager::instance->find(kMonitorCamera) : nullptr;
    if (!camera)
        return;
    target.beginRender(target.width(), target.height());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // The monitor camera's projection and view go back off the stacks afterwards, so the room
    // and whatever follows the scene see the matrices they had.
    pushSceneState();
    glEnable(GL_LIGHTING);
    camera->setViewport(target.width(), target.height());
    camera->applyView();
    glColor3f(1.0f, 1.0f, 1.0f);
    scene.render(camera);
    popSceneState();
    target.endRender(show::screenWidth, show::screenHeight);
}

void DirtyCellar::drawMonitor(PBuffer& target, float t)
{
    glPushMatrix();
    glTranslatef(340.0f, 180.0f, 0.0f);
    glTranslatef(128.0f, 128.0f, 0.0f);
    glRotatef(10.0f * std::sin(t), 0.0f, 0.0f, 1.0f);
    glTranslatef(-128.0f, -128.0f, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.4f * std::sin(1.78f * t) + 0.6f);

    // Four strips of a quarter of the picture each, every one shaken on its own.
    const float w = 3.14f * t;
    float strips[4][4];  // x, y, texture bottom, texture top
    for (int k = 0; k < 4; ++k) {
        strips[k][0] = std::trunc(8.0f * std::sin(float(k) + w));
        strips[k][1] = std::trunc(68.0f * float(k) + 8.0f * std::cos(float(k) + w));
        strips[k][2] = 0.25f * float(k);
        strips[k][3] = 0.25f * float(k) + 0.25f;
    }
    target.bindTexture(GL_TEXTURE0_ARB);
    // The room's materials leave their own texture environment behind; the picture is tinted
    // by the colour only.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBegin(GL_QUADS);
    for (const auto& s : strips) {
        glTexCoord2f(1.0f, s[3]);
        glVertex2f(s[0] + 256.0f, s[1] + 64.0f);
        glTexCoord2f(0.0f, s[3]);
        glVertex2f(s[0], s[1] + 64.0f);
        glTexCoord2f(0.0f, s[2]);
        glVertex2f(s[0], s[1]);
        glTexCoord2f(1.0f, s[2]);
        glVertex2f(s[0] + 256.0f, s[1]);
    }
    glEnd();
    target.releaseTexture(GL_TEXTURE0_ARB);

    glLineWidth(2.0f);
    for (const auto& s : strips) {
        glBegin(GL_LINE_LOOP);
        glVertex2f(s[0] + 256.0f, s[1] + 64.0f);
        glVertex2f(s[0], s[1] + 64.0f);
        glVertex2f(s[0], s[1]);
        glVertex2f(s[0] + 256.0f, s[1]);
        glEnd();
    }
    glLineWidth(1.0f);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void DirtyCellar::render()
{
    if (!ready())
        return;
    const float t = lastTime;
    PBuffer* target = PBuffer::instance && PBuffer::instance->created() ? PBuffer::instance : nullptr;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    if (target)
        renderMonitorPicture(*target);
    // The room through the main camera; without a render target this is all that is drawn.
    renderSceneGraph();
    if (target) {
        screen::push();
        glDisable(GL_DEPTH_TEST);
        drawMonitor(*target, t);
        screen::pop();
    }
    glPopAttrib();
}
