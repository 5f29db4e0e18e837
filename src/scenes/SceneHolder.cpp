#include "scenes/SceneHolder.h"

bool SceneHolder::load(const std::string& path)
{
    scene_.setRoot(Scene::load(path));
    return !empty();
}

void SceneHolder::update(float time)
{
    if (!empty())
        scene_.update(time);
}

void SceneHolder::render(Camera* camera)
{
    if (!empty())
        scene_.draw(camera);
}

void SceneHolder::release() { scene_.release(); }
