// A textured rectangle in screen space whose opacity follows the animator's scale x.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/HeldTexture.h"

class ImageEffect : public Effect {
public:
    bool release() override;
    void update(float time) override;
    void render() override;
    bool save(std::ostream& stream) override;

    HeldTexture texture;
    float x = 0.0f, y = 0.0f, width = 640.0f, height = 480.0f;
    float s0 = 0.0f, t0 = 0.0f, s1 = 1.0f, t1 = 1.0f;
    float opacity = 1.0f;

    // The image keywords' readers, shared with the kinds built on this one.
    static void readTexRect(const std::string& line, ImageEffect& effect);
    static void readRect(const std::string& line, ImageEffect& effect);
    static void readImage(const std::string& line, ImageEffect& effect);
};

std::unique_ptr<EffectType> makeImageEffectType();
