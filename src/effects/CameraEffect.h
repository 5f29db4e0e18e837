// A camera flown by keyframe tracks: the animator gives the eye and, through its visibility,
// when this camera is the current one; optional tracks give the point looked at and the field
// of view.
#pragma once
#include "animation/Keyframer.h"
#include "effects/Effect.h"
#include "effects/EffectType.h"

#include <memory>

class Camera;

class CameraEffect : public Effect {
public:
    CameraEffect();
    ~CameraEffect() override;
    // Prepares the tracks, makes the camera (named like the effect) and registers it.
    bool prepare() override;
    // Takes the camera out of the manager and destroys it; finishes the tracks.
    bool release() override;
    void update(float time) override;
    void render() override {}
    // A camera writes no block.
    bool save(std::ostream&) override { return true; }

    std::unique_ptr<Keyframer> targetTrack;
    std::unique_ptr<Keyframer> fovTrack;
    float nearClip = 1.0f;
    float farClip = 1024.0f;
    // Made in prepare; owned by the camera manager once registered.
    Camera* camera = nullptr;

private:
    // The camera while the manager does not hold it (refused, or no manager).
    std::unique_ptr<Camera> kept_;
};

std::unique_ptr<EffectType> makeCameraEffectType();
