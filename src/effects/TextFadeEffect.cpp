#include "effects/TextFadeEffect.h"

#include "core/GL.h"
#include "effects/ScreenFrame.h"

namespace {
constexpr float kTexels = 256.0f;
}

void TextFadeEffect::Region::setTexels(float x, float y, float w, float h)
{
    s0 = x / kTexels;
    t0 = y / kTexels;
    s1 = (x + w) / kTexels;
    t1 = (y + h) / kTexels;
}

bool TextFadeEffect::release()
{
    Effect::release();
    texture.release();
    return true;
}

void TextFadeEffect::update(float time) { fade = updateAnimator(time); }

void TextFadeEffect::alphas(float fade, float& blurAlpha, float& textAlpha)
{
    if (fade <= 1.0f) {
        blurAlpha = fade;
        textAlpha = 0.0f;
    } else {
        blurAlpha = 2.0f - fade;
        textAlpha = fade - 1.0f;
    }
}

void TextFadeEffect::render()
{
    if (fade == 0.0f || !texture)
        return;
    float blurAlpha, textAlpha;
    alphas(fade, blurAlpha, textAlpha);
    ScreenFrame frame;
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (texture.bind()) {
        glColor4f(1.0f, 1.0f, 1.0f, blurAlpha);
        ScreenFrame::texturedQuad(x0, y0, x1, y1, blur.s0, blur.t0, blur.s1, blur.t1);
        glColor4f(1.0f, 1.0f, 1.0f, textAlpha);
        ScreenFrame::texturedQuad(x0, y0, x1, y1, text.s0, text.t0, text.s1, text.t1);
        texture.unbind();
    }
    glDepthMask(GL_TRUE);
}

bool TextFadeEffect::save(std::ostream&) { return false; }

namespace {

using Kind = EffectKind<TextFadeEffect>;

// A region line in texels; values that do not convert keep the region's current edges.
void readRegion(const std::string& line, TextFadeEffect::Region& r)
{
    float x = r.s0 * kTexels, y = r.t0 * kTexels;
    float w = (r.s1 - r.s0) * kTexels, h = (r.t1 - r.t0) * kTexels;
    scanFloats(line, x, y, w, h);
    r.setTexels(x, y, w, h);
}

constexpr Kind::Keyword kKeywords[] = {
    {"TextRect ", [](const std::string& l, TextFadeEffect& e) { readRegion(l, e.text); }},
    {"BlurRect ", [](const std::string& l, TextFadeEffect& e) { readRegion(l, e.blur); }},
    {"ScreenRect ", [](const std::string& l, TextFadeEffect& e) {
         float x = e.x0, y = e.y0, w = e.x1 - e.x0, h = e.y1 - e.y0;
         scanFloats(l, x, y, w, h);
         e.x0 = x;
         e.y0 = y;
         e.x1 = x + w;
         e.y1 = y + h;
     }},
    {"Image ", [](const std::string& l, TextFadeEffect& e) { e.texture.find(ScriptReader::quotedText(l)); }},
};

} // namespace

std::unique_ptr<EffectType> makeTextFadeEffectType()
{
    return std::make_unique<Kind>("TextFade", kKeywords);
}
