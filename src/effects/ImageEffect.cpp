#include "effects/ImageEffect.h"

#include "core/GL.h"
#include "effects/ScreenFrame.h"

bool ImageEffect::release()
{
    Effect::release();
    texture.release();
    return true;
}

void ImageEffect::update(float time) { opacity = updateAnimator(time); }

void ImageEffect::render()
{
    // Without a loaded texture there is nothing to show.
    if (opacity == 0.0f || !texture)
        return;
    ScreenFrame frame;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, opacity);
    if (!texture.bind())
        return;
    ScreenFrame::texturedQuad(x, y, x + width, y + height, s0, t0, s1, t1);
    texture.unbind();
}

bool ImageEffect::save(std::ostream& stream)
{
    return saveBlock(stream, "Image", [&] {
        stream << "\tImage \"" << texture.name() << "\"\n";
        stream << "\tRect " << x << ' ' << y << ' ' << width << ' ' << height << "\n";
        stream << "\tTexRect " << s0 << ' ' << t0 << ' ' << s1 << ' ' << t1 << "\n";
    });
}

namespace {

using Kind = EffectKind<ImageEffect>;

// "TexRect " before "Rect ", so a TexRect line never counts as a Rect line.
constexpr Kind::Keyword kKeywords[] = {
    {"TexRect ", [](const std::string& l, ImageEffect& e) { scanFloats(l, e.s0, e.t0, e.s1, e.t1); }},
    {"Rect ", [](const std::string& l, ImageEffect& e) { scanFloats(l, e.x, e.y, e.width, e.height); }},
    {"Image ", [](const std::string& l, ImageEffect& e) { e.texture.find(ScriptReader::quotedText(l)); }},
};

} // namespace

std::unique_ptr<EffectType> makeImageEffectType()
{
    return std::make_unique<Kind>("Image", kKeywords);
}
