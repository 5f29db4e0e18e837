#include "scenes/DemoScene.h"

#include "core/GL.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "material/MaterialScriptReader.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "texture/PixelType.h"
#include "texture/TextureManager.h"

DemoScene::DemoScene(const char* sceneName, float startTime, float endTime)
{
    name = sceneName;
    start = startTime;
    end = endTime;
    layer = kLayer;
}

bool DemoScene::release()
{
    Effect::release();
    if (MaterialLibrary* library = MaterialLibrary::instance)
        for (Material*& material : materials_)
            library->release(material);
    materials_.clear();
    if (TextureManager* manager = TextureManager::instance)
        for (Texture*& texture : textures_)
            manager->release(texture);
    textures_.clear();
    scene.release();
    ready_ = false;
    return true;
}

void DemoScene::catchUp(float time, float step) { scene.catchUp(start, time, step); }

bool DemoScene::fail(const std::string& text, const char* title)
{
    platform::showMessageBox(title, text);
    return false;
}

bool DemoScene::loadShaders(const std::string& path, const std::string& failText, const char* title)
{
    MaterialLibrary* library = MaterialLibrary::instance;
    if (!library || !platform::fileExists(path))
        return fail(failText, title);
    MaterialScriptReader reader(*library);
    return reader.load(path) || fail(failText, title);
}

bool DemoScene::loadScene(const std::string& path, const std::string& failText)
{
    return scene.load(path) || fail(failText);
}

bool DemoScene::findMaterial(const std::string& materialName, Material*& material, const std::string& failText)
{
    material = MaterialLibrary::instance ? MaterialLibrary::instance->find(materialName) : nullptr;
    if (!material)
        return fail(failText);
    materials_.push_back(material);
    return true;
}

bool DemoScene::findMesh(const std::string& meshName, Mesh*& mesh, const std::string& failText)
{
    mesh = MeshManager::instance ? MeshManager::instance->find(meshName) : nullptr;
    return mesh || fail(failText);
}

bool DemoScene::loadMesh(const std::string& meshName, Mesh*& mesh, const std::string& failText)
{
    mesh = MeshManager::instance ? MeshManager::instance->load(meshName, 0) : nullptr;
    return mesh || fail(failText);
}

bool DemoScene::findOrLoadMesh(const std::string& meshName, Mesh*& mesh, const std::string& failText)
{
    MeshManager* manager = MeshManager::instance;
    mesh = manager ? manager->find(meshName) : nullptr;
    if (!mesh && manager)
        mesh = manager->load(meshName, 0);
    return mesh || fail(failText);
}

bool DemoScene::loadTexture(const std::string& textureName, Texture*& texture, const std::string& failText)
{
    texture = TextureManager::instance ? TextureManager::instance->load(textureName, kPixelRGB, GL_TEXTURE_2D)
                                       : nullptr;
    if (!texture)
        return fail(failText);
    textures_.push_back(texture);
    return true;
}

bool DemoScene::findTexture(const std::string& textureName, Texture*& texture, const std::string& failText)
{
    texture = TextureManager::instance ? TextureManager::instance->find(textureName) : nullptr;
    if (!texture)
        return fail(failText);
    textures_.push_back(texture);
    return true;
}

void DemoScene::renderSceneGraph(const std::function<void()>& extra)
{
    if (!ready_)
        return;
    pushSceneState();
    glEnable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    scene.render();
    if (extra)
        extra();
    popSceneState();
}

void DemoScene::pushSceneState()
{
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void DemoScene::popSceneState()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

Camera* DemoScene::applyCurrentCamera()
{
    CameraManager* cameras = CameraManager::instance;
    Camera* camera = cameras ? cameras->current() : nullptr;
    if (camera) {
        camera->setViewport(cameras->viewportWidth, cameras->viewportHeight);
        camera->applyView();
    }
    return camera;
}
