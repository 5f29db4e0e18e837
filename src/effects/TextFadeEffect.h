// A text picture that fades in blurred and then sharpens: two regions of one 256 x 256 texture
// drawn over one screen rectangle, their alphas set by the fade level (the animator's scale x).
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/HeldTexture.h"

class TextFadeEffect : public Effect {
public:
    // A region of the texture as texture coordinates.
    struct Region {
        float s0 = 0.0f, t0 = 0.0f, s1 = 1.0f, t1 = 1.0f;
        // x y w h in texels of the 256 x 256 picture.
        void setTexels(float x, float y, float w, float h);
    };

    bool release() override;
    void update(float time) override;
    void render() override;
    // This kind is not written back; false.
    bool save(std::ostream& stream) override;

    // The alphas of the blurred and the sharp picture at fade level `fade` (0 < fade).
    static void alphas(float fade, float& blurAlpha, float& textAlpha);

    HeldTexture texture;
    Region text;
    Region blur;
    float x0 = 0.0f, y0 = 0.0f, x1 = 640.0f, y1 = 480.0f;
    float fade = 0.0f;
};

std::unique_ptr<EffectType> makeTextFadeEffectType();
