#include "effects/FlashEffect.h"

#include "core/GL.h"
#include "effects/ScreenFrame.h"

void FlashEffect::update(float time) { colour[3] = updateAnimator(time); }

void FlashEffect::render()
{
    if (colour[3] == 0.0f)
        return;
    ScreenFrame frame;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4fv(colour);
    ScreenFrame::quad(0.0f, 0.0f, ScreenFrame::kWidth, ScreenFrame::kHeight);
}

bool FlashEffect::save(std::ostream& stream)
{
    return saveBlock(stream, "Flash", [&] {
        stream << "\tColor " << colour[0] << ' ' << colour[1] << ' ' << colour[2] << ' '
               << colour[3] << "\n";
    });
}

namespace {

using Kind = EffectKind<FlashEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"Color ", [](const std::string& l, FlashEffect& e) {
         scanFloats(l, e.colour[0], e.colour[1], e.colour[2], e.colour[3]);
     }},
};

} // namespace

std::unique_ptr<EffectType> makeFlashEffectType()
{
    return std::make_unique<Kind>("Flash", kKeywords);
}
