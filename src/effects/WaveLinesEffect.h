// Six chains of line segments growing from the origin along the six axis directions; every link
// wanders by two small angles, so each chain bends as the sum of its links' angles. Each point
// from the third on carries a glowing flare that faces the viewer.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "effects/FrameStep.h"
#include "effects/HeldMaterial.h"
#include "math/Vector3.h"

#include <array>

class WaveLinesEffect : public Effect {
public:
    static constexpr int kChains = 6;
    static constexpr int kPoints = 13;  // the head and twelve followers

    struct Point {
        Vector3 position;
        float segmentLength;
        float angleA, angleB;
        float speedA, speedB;
        float alpha;
    };
    struct Chain {
        int axis = 0;  // +x, -x, +y, -y, +z, -z
        std::array<Point, kPoints> points{};
    };

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    // Stepped from Start in frame steps: each link turns round at its own limit.
    void catchUp(float time, float step) override;
    void render() override;
    bool save(std::ostream&) override { return true; }

    // The unit direction of axis index 0..5.
    static Vector3 axisDirection(int axis);

    float lineColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float flareColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    HeldMaterial lineMaterial;
    HeldMaterial flareMaterial;
    std::array<Chain, kChains> chains{};
    bool built = false;
    Vector3 right{1.0f, 0.0f, 0.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    FrameStep step;
};

std::unique_ptr<EffectType> makeWaveLinesEffectType();
