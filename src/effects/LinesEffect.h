// Full-height vertical bars that drift sideways, bounce off the screen edges and pulse.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/FrameStep.h"

#include <vector>

class LinesEffect : public Effect {
public:
    struct Line {
        float x, width, velocity, phase, phaseSpeed, alpha;
    };

    bool prepare() override;
    void update(float time) override;
    // Stepped from Start in frame steps: the bounces and the random pulse depend on the steps.
    void catchUp(float time, float step) override;
    void render() override;
    bool save(std::ostream&) override { return true; }

    // The most bars one effect makes.
    static constexpr int kMaxLines = 1 << 16;

    int lineCount = 0;
    float speed = 0.0f;
    float variance = 0.0f;
    float alphaSpeed = 0.0f;
    float alphaVariance = 0.0f;
    float colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<Line> lines;
    FrameStep step;
};

std::unique_ptr<EffectType> makeLinesEffectType();
