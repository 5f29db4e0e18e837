#include "effects/StreamEffect.h"

#include "core/GL.h"
#include "effects/ScreenFrame.h"
#include "platform/Paths.h"
#include "texture/VideoTexture.h"

StreamEffect::StreamEffect() = default;
StreamEffect::~StreamEffect() = default;

bool StreamEffect::release()
{
    Effect::release();
    if (video)
        video->close();
    return true;
}

bool StreamEffect::openVideo(const std::string& path)
{
    auto opened = std::make_unique<VideoTexture>();
    if (!opened->open(path, kTextureSize, kTextureSize))
        return false;
    video = std::move(opened);
    return true;
}

void StreamEffect::update(float time)
{
    opacity = updateAnimator(time);
    if (!video)
        return;
    video->advance(step.next(time));
}

void StreamEffect::catchUp(float time, float)
{
    if (video)
        video->skip(double(time) - double(start));
}

void StreamEffect::render()
{
    if (opacity == 0.0f || !video)
        return;
    ScreenFrame frame;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, opacity);
    if (!video->bind(GL_TEXTURE0_ARB))
        return;
    ScreenFrame::texturedQuad(x, y, x + width, y + height, s0, t0, s1, t1);
    video->unbind(GL_TEXTURE0_ARB);
}

namespace {

using Kind = EffectKind<StreamEffect>;

// "TexRect " a b c d: a and c are the left and right edges, b the bottom and d the top, so the
// numbers 0 0 1 1 show the bottom-up picture upright. Tested before "Rect ".
constexpr Kind::Keyword kKeywords[] = {
    {"TexRect ", [](const std::string& l, StreamEffect& e) { scanFloats(l, e.s0, e.t1, e.s1, e.t0); }},
    {"Rect ", [](const std::string& l, StreamEffect& e) { scanFloats(l, e.x, e.y, e.width, e.height); }},
    {"Stream ", [](ScriptReader& r, std::istream&, StreamEffect& e) {
         const std::string file = r.quotedText();
         if (e.openVideo(file))
             return true;
         r.refusal = platform::fileExists(file) ? "the video file " + file + " cannot be read"
                                               : "the video file " + file + " does not exist";
         return false;
     }},
};

} // namespace

std::unique_ptr<EffectType> makeStreamEffectType()
{
    return std::make_unique<Kind>("Stream", kKeywords);
}
