// A full-screen coloured flash whose alpha follows the animator's scale x.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"

class FlashEffect : public Effect {
public:
    void update(float time) override;
    void render() override;
    bool save(std::ostream& stream) override;

    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

std::unique_ptr<EffectType> makeFlashEffectType();
