#include "app/ShowWorld.h"

ShowManagers ShowManagers::current()
{
    return {ConsoleFont::instance,      EffectTimeline::instance,  MeshManager::instance,
            FontRegistry::instance,     MaterialLibrary::instance, TextureManager::instance,
            CameraManager::instance};
}

void ShowManagers::makeCurrent() const
{
    ConsoleFont::instance = consoleFont;
    EffectTimeline::instance = timeline;
    MeshManager::instance = meshes;
    FontRegistry::instance = fonts;
    MaterialLibrary::instance = materials;
    TextureManager::instance = textures;
    CameraManager::instance = cameras;
}

ShowManagers ShowWorld::managers()
{
    return {&consoleFont_, &timeline_, &meshes_, &fonts_, &materials_, &textures_, &cameras_};
}
