// A textured tube seen from inside: its radius ripples with a circular and two travelling linear
// waves, its vertex angles turn with time and twist along the tube, and its texture scrolls.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/FrameStep.h"
#include "effects/HeldMaterial.h"

#include <memory>

class Mesh;

class TunnelEffect : public Effect {
public:
    TunnelEffect();
    ~TunnelEffect() override;

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    // Phases and texture scroll grow in proportion to the time stepped: the first update
    // takes the whole time since Start at once.
    void catchUp(float time, float step) override;
    void render() override;
    bool save(std::ostream&) override { return true; }

    // The most vertices a tube may have; a larger "Size " builds no mesh.
    static constexpr long kMaxVertices = 1 << 20;

    int around = 0;  // vertices per ring
    int along = 0;   // rings
    float length = 0.0f;
    float speed = 0.0f;
    float linear[4] = {};    // time rate, two spatial frequencies, amplitude
    float circular[3] = {};  // time rate, spatial frequency, amplitude
    float phases[6] = {};    // four wave phases, two texture scroll rates
    FrameStep step;
    std::unique_ptr<Mesh> mesh;
    HeldMaterial material;
};

std::unique_ptr<EffectType> makeTunnelEffectType();
