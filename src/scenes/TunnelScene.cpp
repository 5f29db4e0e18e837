#include "scenes/TunnelScene.h"

#include "core/GL.h"
#include "effects/EffectLoader.h"
#include "material/Material.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenes/VolumetricLight.h"

#include <cmath>

const Vector3 TunnelScene::kClusterPositions[kClusters] = {{-72.597f, -79.5759f, 109.5632f},
                                                           {-10.5732f, -30.3925f, 24.64f},
                                                           {30.5772f, 11.4668f, -2.6578f},
                                                           {93.105f, 3.0425f, -59.8645f}};
const Vector3 TunnelScene::kLightPositions[kLights] = {{-7.7876f, 9.0809f, -22.782f},
                                                       {54.4859f, 10.4103f, -9.8937f},
                                                       {0.0f, -11.7139f, 0.0f},
                                                       {0.0f, -96.7494f, 70.2737f}};
const float TunnelScene::kLightAngleFactors[kLights] = {3.0f, 2.0f, 0.75f, 1.25f};

bool TunnelScene::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadShaders("data\\scr\\tunnelscene.shader", "UNABLE TO LOAD SHADERS 'tunnelscene.shader'")
        && loadEffects("data\\scr\\tunnelscene.effect")
        && loadScene("data\\scr\\tunnelscene.scene", "UNABLE TO LOAD SCENE 'tunnelscene.scene'")
        && findMaterial("vol_light", volumeLight, "UNABLE TO FIND SHADER 'vol_light'")
        && findOrLoadMesh("volting.msh", lightMesh, "UNABLE TO LOAD OBJECT 'volting.msh'")
        && findMaterial("TunnelMetaballs", tunnelMetaballs, "UNABLE TO FIND SHADER 'TunnelMetaballs'");
    });
    if (!loaded)
        return false;
    for (int i = 0; i < 3; ++i)
        balls[i] = {0.0f, 0.0f, 0.0f, 5.0f + float(i)};
    field.init(kFieldSize);
    return true;
}

bool TunnelScene::loadEffects(const std::string& path)
{
    EffectLoader loader;
    return loader.load(path) || fail("UNABLE TO LOAD EFFECTS 'tunnelscene.effect'");
}

void TunnelScene::placeBalls(float t, Metaball (&balls)[3])
{
    const float b = 3.4f * t;
    const float a = b / 6.0f;
    const float c = 2.0f * std::cos(a);
    const float d = -5.0f * std::cos(b / 4.0f);
    balls[0].x = -4.0f * std::cos(b / 7.0f) - c;
    balls[0].y = 4.0f * std::sin(a) - c;
    balls[1].x = c + 5.0f * std::sin(b / 4.0f);
    balls[1].y = d - c;
    balls[2].x = d - 0.2f * std::sin(a);
    balls[2].z = 5.0f * std::sin(0.2f * b) - 0.2f * std::sin(b / 4.0f);
    for (int i = 0; i < 3; ++i)
        balls[i].strength = 5.0f + float(i);
}

void TunnelScene::update(float time)
{
    lastTime = time;
    if (!ready())
        return;
    scene.update(time);
    placeBalls(time, balls);
    field.setBalls(balls, 3);
}

int TunnelScene::drawClusters(const Frustum& frustum, float t)
{
    // Clusters 1 to 3 turn slowly about x, y and z and sit off their centre.
    const float turnAxes[kClusters][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const float offsets[kClusters][3] = {{0, 0, 0}, {0, 5, 5}, {5, 0, 5}, {5, 5, 0}};
    int drawn = 0;
    for (int i = 0; i < kClusters; ++i) {
        const Vector3& p = kClusterPositions[i];
        if (frustum.outside({p, kClusterRadius}))
            continue;
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        glScalef(1.5f, 1.5f, 1.5f);
        if (i > 0) {
            glRotatef(t * 0.034906585f, turnAxes[i][0], turnAxes[i][1], turnAxes[i][2]);
            glTranslatef(offsets[i][0], offsets[i][1], offsets[i][2]);
        }
        // The four clusters are one blob: polygonised for the first drawn, drawn again after.
        if (drawn == 0)
            field.render(1.0f);
        else
            field.drawLast();
        glPopMatrix();
        ++drawn;
    }
    return drawn;
}

int TunnelScene::drawLights(const Frustum& frustum, float t)
{
    int drawn = 0;
    for (int i = 0; i < kLights; ++i) {
        if (!lightMesh || frustum.outside({kLightPositions[i], kLightRadius}))
            continue;
        drawVolumetricLight(*lightMesh, volumeLight, kLightPositions[i], kLightAngleFactors[i] * t);
        ++drawn;
    }
    return drawn;
}

void TunnelScene::render()
{
    if (!ready())
        return;
    const float t = lastTime;
    pushSceneState();
    Camera* camera = applyCurrentCamera();
    if (!camera) {
        popSceneState();
        return;
    }
    const Frustum frustum = camera->frustumPlanes();
    glEnable(GL_LIGHTING);
    scene.enableLights();
    tunnelMetaballs->bind();
    drawClusters(frustum, t);
    tunnelMetaballs->unbind();
    // The volumetric lights, unlit, then the scene graph over them. The shells write no depth:
    // the graph's materials decide how much of them shows through (the tube adds its colour to
    // what lies under it until it has drawn a pixel itself).
    glDisable(GL_LIGHTING);
    drawLights(frustum, t);
    glColor3f(1.0f, 1.0f, 1.0f);
    scene.render(camera);
    popSceneState();
}
