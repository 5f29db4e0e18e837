#include "effects/LinesEffect.h"

#include "animation/Animator.h"
#include "core/GL.h"
#include "core/Random.h"
#include "effects/QuadBatch.h"
#include "effects/ScreenFrame.h"

#include <algorithm>
#include <cmath>

bool LinesEffect::prepare()
{
    Effect::prepare();
    lines.clear();
    const int count = std::clamp(lineCount, 0, kMaxLines);
    lines.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        Line line;
        line.x = float(show::random()) * 0.019531846f;                 // 0..640
        line.width = float(show::random()) * 0.00028992584f + 1.5f;    // 1.5..11
        line.velocity = (show::randomUnit() - 0.5f) * variance + speed;
        if (show::random() & 1)
            line.velocity = -line.velocity;
        line.phaseSpeed = (show::randomUnit() - 0.5f) * alphaVariance + alphaSpeed;
        line.phase = line.phaseSpeed;
        line.alpha = (std::sin(line.phase) + 1.0f) * 0.5f;
        lines.push_back(line);
    }
    return true;
}

void LinesEffect::update(float time)
{
    const float dt = step.next(time);
    for (Line& line : lines) {
        line.phase += dt * (show::randomUnit() + line.phaseSpeed);
        line.alpha = (std::sin(line.phase) + 1.0f) * 0.5f;
        line.x += dt * line.velocity;
        if (line.x < 0.0f || line.x > ScreenFrame::kWidth) {
            line.x = line.x < 0.0f ? 0.0f : ScreenFrame::kWidth;
            line.velocity = -line.velocity;
        }
    }
    if (animator) {
        animator->update(time);
        colour[3] = animator->scale.x;
    }
}

void LinesEffect::catchUp(float time, float step) { stepFromStart(time, step); }

void LinesEffect::render()
{
    if (lines.empty())
        return;
    ScreenFrame frame;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    QuadBatch batch;
    batch.reserve(int(lines.size()));
    const float top = ScreenFrame::kHeight;
    for (const Line& line : lines) {
        const float a = colour[3] * line.alpha;
        const float right = line.x + line.width;
        batch.add({right, top, 0.0f, 0.0f, 0.0f, colour[0], colour[1], colour[2], a});
        batch.add({line.x, top, 0.0f, 0.0f, 0.0f, colour[0], colour[1], colour[2], a});
        batch.add({line.x, 0.0f, 0.0f, 0.0f, 0.0f, colour[0], colour[1], colour[2], a});
        batch.add({right, 0.0f, 0.0f, 0.0f, 0.0f, colour[0], colour[1], colour[2], a});
    }
    batch.draw(false);
}

namespace {

using Kind = EffectKind<LinesEffect>;

// "AlphaSpeed " and "AlphaVariance " hold "Speed " and "Variance ": they are tested first.
constexpr Kind::Keyword kKeywords[] = {
    {"NumLines ", [](const std::string& l, LinesEffect& e) { scanInts(l, e.lineCount); }},
    {"AlphaSpeed ", [](const std::string& l, LinesEffect& e) { scanFloats(l, e.alphaSpeed); }},
    {"AlphaVariance ", [](const std::string& l, LinesEffect& e) { scanFloats(l, e.alphaVariance); }},
    {"Speed ", [](const std::string& l, LinesEffect& e) { scanFloats(l, e.speed); }},
    {"Variance ", [](const std::string& l, LinesEffect& e) { scanFloats(l, e.variance); }},
    {"Color ", [](const std::string& l, LinesEffect& e) {
         scanFloats(l, e.colour[0], e.colour[1], e.colour[2], e.colour[3]);
     }},
};

} // namespace

std::unique_ptr<EffectType> makeLinesEffectType()
{
    return std::make_unique<Kind>("Lines", kKeywords);
}
