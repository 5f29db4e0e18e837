// A camera in the scene tree: it makes a SceneCamera, registers it with the camera manager and
// moves and turns it with the node each frame.
#pragma once
#include "scenegraph/SceneNode.h"

#include <memory>

class SceneCamera;

class CameraNode : public SceneNode {
public:
    // Makes the camera "SG_Camera0" (fov 45, clip 1 to 1024) and adds it to the camera manager.
    CameraNode();
    ~CameraNode() override;
    // Makes the camera current when enabled; the camera takes the node's local position and the
    // animator's angles; the node's scale goes back to 1.
    void update(float time) override;
    // "Name " (quoted), "FOV ", "ClipPlanes ", "Enable ".
    LineResult readOwnLine(SceneReadContext& context) override;

    SceneCamera* camera = nullptr;
    bool enable = false;

private:
    // The camera when the manager refused it (its name was taken); the node keeps it then.
    std::unique_ptr<SceneCamera> refused_;
};
