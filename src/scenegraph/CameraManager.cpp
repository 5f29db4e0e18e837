#include "scenegraph/CameraManager.h"

#include "core/ScreenSpace.h"

#include "core/GL.h"
#include "scenegraph/Camera.h"

CameraManager* CameraManager::instance = nullptr;

CameraManager::CameraManager() { instance = this; }

CameraManager::~CameraManager()
{
    releaseAll();
    if (instance == this)
        instance = nullptr;
}

void CameraManager::setViewport(int width, int height)
{
    // The show keeps its 4:3 shape: cameras project into the letterboxed part of the window.
    const screen::Viewport viewport = screen::setViewport(width, height);
    viewportWidth = viewport.width;
    viewportHeight = viewport.height;
    if (current_)
        current_->setViewport(viewportWidth, viewportHeight);
}

Camera* CameraManager::setCurrent(Camera* camera)
{
    Camera* previous = current_;
    current_ = camera;
    if (current_)
        current_->setViewport(viewportWidth, viewportHeight);
    return previous;
}

Camera* CameraManager::find(const std::string& name) const
{
    for (const auto& camera : cameras_)
        if (camera->name == name)
            return camera.get();
    return nullptr;
}

bool CameraManager::add(Camera* camera)
{
    if (!camera || find(camera->name))
        return false;
    cameras_.emplace_back(camera);
    if (!current_)
        current_ = camera;
    return true;
}

std::unique_ptr<Camera> CameraManager::remove(const std::string& name)
{
    for (auto it = cameras_.begin(); it != cameras_.end(); ++it) {
        if ((*it)->name != name)
            continue;
        std::unique_ptr<Camera> camera = std::move(*it);
        cameras_.erase(it);
        if (current_ == camera.get())
            current_ = nullptr;
        return camera;
    }
    return nullptr;
}

void CameraManager::forget(const Camera* camera)
{
    if (camera && current_ == camera)
        current_ = nullptr;
}

void CameraManager::releaseAll()
{
    current_ = nullptr;
    cameras_.clear();
}
