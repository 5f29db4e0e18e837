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

void ImageEffect::readTexRect(const std::string& line, ImageEffect& e)
{
    scanFloats(line, e.s0, e.t0, e.s1, e.t1);
}

void ImageEffect::readRect(const std::string& line, ImageEffect& e)
{
    scanFloats(line, e.x, e.y, e.width, e.height);
}

void ImageEffect::readImage(const std::string& line, ImageEffect& e)
{
    e.texture.find(ScriptReader::quotedText(line));
}

namespace {

using Kind = EffectKind<ImageEffect>;

// "TexRect " before "Rect ", so a TexRect line never counts as a Rect line.
constexpr Kind::Keyword kKeywords[] = {
    {"TexRect ", ImageEffect::readTexRect},
    {"Rect ", ImageEffect::readRect},
    {"Image ", ImageEffect::readImage},
};

} // namespace

std::unique_ptr<EffectType> makeImageEffectType()
{
    return std::make_unique<Kind>("Image", kKeywords);
}
