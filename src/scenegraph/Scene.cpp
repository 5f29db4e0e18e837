#include "scenegraph/Scene.h"

#include "platform/Paths.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/LightNode.h"
#include "scenegraph/SceneLoader.h"

#include <fstream>

namespace {

// Calls `visit` on every node: the node first, then its children.
template <class F>
void forEachNode(SceneNode& node, F&& visit)
{
    visit(node);
    for (const auto& child : node.children)
        forEachNode(*child, visit);
}

// Calls `visit` on every light node.
template <class F>
void forEachLight(SceneNode& node, F&& visit)
{
    forEachNode(node, [&](SceneNode& n) {
        if (n.kind == SceneNode::kLight)
            visit(static_cast<LightNode&>(n));
    });
}

} // namespace

Scene::~Scene() { release(); }

std::unique_ptr<SceneNode> Scene::load(const std::string& path)
{
    std::ifstream stream(platform::nativePath(path));
    if (!stream)
        return nullptr;
    return sceneloader::read(stream, path);
}

void Scene::setRoot(std::unique_ptr<SceneNode> newRoot)
{
    release();
    root_ = std::move(newRoot);
}

void Scene::update(float time)
{
    if (root_)
        root_->updateTree(time, nullptr);
}

void Scene::catchUp(float from, float to, float step)
{
    if (root_)
        forEachNode(*root_, [&](SceneNode& node) { node.catchUp(from, to, step); });
}

void Scene::draw(Camera* camera)
{
    if (!root_)
        return;
    if (!camera) {
        CameraManager* manager = CameraManager::instance;
        camera = manager ? manager->current() : nullptr;
        if (!camera)
            return;
        // A camera that became current by being registered first was never handed the viewport
        // and has no projection of its own loaded; the scene is drawn through its projection.
        camera->setViewport(manager->viewportWidth, manager->viewportHeight);
        camera->applyView();
    }
    const Frustum frustum = camera->frustumPlanes();
    enableLights();
    root_->drawVisible(frustum);
}

void Scene::enableLights()
{
    if (root_)
        forEachLight(*root_, [](LightNode& light) { light.enableLight(); });
}

void Scene::disableLights()
{
    if (root_)
        forEachLight(*root_, [](LightNode& light) { light.disableLight(); });
}

void Scene::release()
{
    disableLights();
    root_.reset();
}

bool Scene::hasActiveLight() const
{
    bool found = false;
    if (root_)
        forEachLight(*root_, [&](LightNode& light) { found = found || light.active; });
    return found;
}
