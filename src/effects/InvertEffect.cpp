#include "effects/InvertEffect.h"

#include "core/GL.h"
#include "effects/ScreenFrame.h"

void InvertEffect::update(float time) { updateAnimator(time); }

void InvertEffect::render()
{
    const float k = animatedValue();
    if (k == 0.0f)
        return;
    ScreenFrame frame;
    // Per channel: k * (1 - d) + d * (1 - k); k = 1 inverts, k = 0 leaves the picture alone.
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_SRC_COLOR);
    glColor4f(k, k, k, 1.0f);
    ScreenFrame::quad(x, y, x + width, y + height);
}

bool InvertEffect::save(std::ostream& stream)
{
    return saveBlock(stream, "Invert", [&] {
        stream << "\tRect " << x << ' ' << y << ' ' << width << ' ' << height << "\n";
    });
}

namespace {

using Kind = EffectKind<InvertEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"Rect ", [](const std::string& l, InvertEffect& e) { scanFloats(l, e.x, e.y, e.width, e.height); }},
};

} // namespace

std::unique_ptr<EffectType> makeInvertEffectType()
{
    return std::make_unique<Kind>("Invert", kKeywords);
}
