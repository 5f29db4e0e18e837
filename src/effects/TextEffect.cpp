#include "effects/TextEffect.h"

#include "animation/Animator.h"
#include "core/GL.h"
#include "effects/CameraView.h"
#include "font/DisplayListFont.h"
#include "font/FontRegistry.h"
#include "script/ProblemSink.h"

bool TextEffect::release()
{
    Effect::release();
    font = nullptr;
    return true;
}

void TextEffect::update(float time) { updateAnimator(time); }

void TextEffect::render()
{
    // Without a font there is nothing to draw.
    if (!font)
        return;
    const CameraView view;
    if (animator)
        animator->apply();
    // The colour goes back by hand: after the font's display lists a popped current colour
    // does not reliably stick on every driver.
    GLfloat found[4];
    glGetFloatv(GL_CURRENT_COLOR, found);
    glColor4fv(colour);
    font->drawText(text);
    glColor4fv(found);
    // Drawing a font's lists may change the winding; the rest of the show expects the default.
    glFrontFace(GL_CCW);
    if (animator)
        animator->unapply();
}

bool TextEffect::save(std::ostream& stream)
{
    return saveBlock(stream, "Text", [&] {
        stream << "\tText \"" << text << "\"\n";
        stream << "\tFont \"" << (font ? font->name : std::string()) << "\"\n";
    });
}

namespace {

using Kind = EffectKind<TextEffect>;

// These keywords carry no trailing blank.
constexpr Kind::Keyword kKeywords[] = {
    {"Text", [](const std::string& l, TextEffect& e) { e.text = ScriptReader::quotedText(l); }},
    {"Font", [](const std::string& l, TextEffect& e) {
         FontRegistry* registry = FontRegistry::instance;
         const std::string name = ScriptReader::quotedText(l);
         e.font = registry ? registry->find(name) : nullptr;
         if (!e.font)
             problems::reportHere("no font is registered under the name " + problems::quoted(name) +
                                  " (the show registers \"confont\")");
     }},
    {"Color", [](const std::string& l, TextEffect& e) {
         scanFloats(l, e.colour[0], e.colour[1], e.colour[2], e.colour[3]);
     }},
};

} // namespace

std::unique_ptr<EffectType> makeTextEffectType()
{
    return std::make_unique<Kind>("Text", kKeywords);
}
