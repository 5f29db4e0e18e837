// The 3D kinds draw in the space of the camera manager's current camera: while a CameraView
// lives, that camera's projection (for the manager's viewport) and view are loaded, and both
// matrices are put back when it goes. Without a current camera the matrices stay as they are.
#pragma once

class Camera;

class CameraView {
public:
    CameraView();
    ~CameraView();
    CameraView(const CameraView&) = delete;
    CameraView& operator=(const CameraView&) = delete;

    // The camera whose view is loaded; none when there is no current camera.
    Camera* camera() const { return camera_; }

private:
    Camera* camera_ = nullptr;
};
