// A particle system on the timeline, stepped by the time since its last update and drawn
// through the camera manager's current camera.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "particles/ParticleSystem.h"

#include <memory>

class ParticleEffect : public Effect {
public:
    // The step of the first update.
    static constexpr float kFirstStep = 0.001f;

    void update(float time) override;
    // The system stepped from Start in frame steps: births, deaths and motion as in the show.
    void catchUp(float time, float step) override;
    // Nothing without a system or a current camera.
    void render() override;
    // Particle effects write nothing.
    bool save(std::ostream& stream) override { return true; }

    float lastTime = 0.0f;
    float lastStep = 0.0f;
    std::unique_ptr<ParticleSystem> system;
};

std::unique_ptr<EffectType> makeParticleEffectType();
