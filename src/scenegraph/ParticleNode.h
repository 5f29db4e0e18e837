// A particle system placed in a scene: stepped by the time since the node's last update and
// drawn through the current camera; its sphere follows the box of the particle positions.
#pragma once
#include "particles/ParticleSystem.h"
#include "scenegraph/SceneNode.h"

#include <memory>

class ParticleNode : public SceneNode {
public:
    // One frame at 33 Hz: the first step, and the step after time ran backwards.
    static constexpr float kFirstStep = 0.030303031f;

    ParticleNode() : SceneNode(kDrawable) {}
    void update(float time) override;
    // The system stepped in frame steps from `from`.
    void catchUp(float from, float to, float step) override;
    // The system through the camera manager's current camera, then the colour back to white.
    void drawSelf() override;
    // "ParticleSystem {": the block that follows becomes the node's system (none when it is
    // refused).
    LineResult readOwnLine(SceneReadContext& context) override;

    std::unique_ptr<ParticleSystem> system;
    float lastTime = 0.0f;
};
