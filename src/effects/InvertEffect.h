// A rectangle that inverts the picture behind it, by an intensity from the animator's scale x.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"

class InvertEffect : public Effect {
public:
    void update(float time) override;
    void render() override;
    bool save(std::ostream& stream) override;

    float x = 0.0f, y = 0.0f, width = 640.0f, height = 480.0f;
};

std::unique_ptr<EffectType> makeInvertEffectType();
