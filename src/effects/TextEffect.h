// A string in a registered display-list font, drawn in the current 3D space and placed by the
// animator's transform.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"

class DisplayListFont;

class TextEffect : public Effect {
public:
    bool release() override;
    void update(float time) override;
    void render() override;
    bool save(std::ostream& stream) override;

    std::string text;
    // Not owned: a font of the font registry; none when the name found no font.
    const DisplayListFont* font = nullptr;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

std::unique_ptr<EffectType> makeTextEffectType();
