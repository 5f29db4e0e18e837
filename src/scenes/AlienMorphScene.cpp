#include "scenes/AlienMorphScene.h"

#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

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
    if (loaded)
        createCamera();
    return loaded;
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

void AlienMorphScene::update(float time)
{
    if (!ready())
        return;
    if (time >= kEyeballTime)
        scene.update(time);
    lastTime = time;
    if (time < kEyeballTime)
        if (CameraManager* cameras = CameraManager::instance)
            cameras->setCurrent(cameras->find(kCameraName));
}

void AlienMorphScene::render()
{
    if (lastTime >= kEyeballTime)
        renderSceneGraph();
}
