// The one owner of every named camera: effects and scenes find cameras here by name, and the
// current camera is the one scenes are drawn through.
#pragma once
#include <memory>
#include <string>
#include <vector>

class Camera;

class CameraManager {
public:
    // The program-wide manager: set by the constructor, cleared by the destructor.
    static CameraManager* instance;

    CameraManager();
    ~CameraManager();
    CameraManager(const CameraManager&) = delete;
    CameraManager& operator=(const CameraManager&) = delete;

    // Sets the GL viewport to the largest centred 4:3 part of a window of this size, stores that
    // part's size and hands it to the current camera.
    void setViewport(int width, int height);
    // Makes `camera` (or none) current and hands it the stored viewport size; returns the
    // camera that was current before.
    Camera* setCurrent(Camera* camera);
    Camera* current() const { return current_; }
    // The first camera whose name equals `name` exactly, or none.
    Camera* find(const std::string& name) const;
    // Takes ownership of `camera` and appends it; it becomes current when none is (without a
    // viewport call). False (the caller keeps it) for none or a name already registered.
    bool add(Camera* camera);
    // Unlinks the first camera named `name` and hands it back to the caller; current becomes none
    // when it was current. Null when no camera has that name.
    std::unique_ptr<Camera> remove(const std::string& name);
    // For a camera the manager does not own, about to be destroyed: when it is current, current
    // becomes none, so nothing draws through it afterwards.
    void forget(const Camera* camera);
    // Forgets the current camera and destroys every camera.
    void releaseAll();

    const std::vector<std::unique_ptr<Camera>>& cameras() const { return cameras_; }
    int viewportWidth = 640;
    int viewportHeight = 480;

private:
    std::vector<std::unique_ptr<Camera>> cameras_;
    Camera* current_ = nullptr;
};
