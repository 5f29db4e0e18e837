// A picture cut into a grid of tiles that start scattered away from a centre point, turned, and
// fly home while turning back; drawn in a -256..256 square space.
#pragma once
#include "effects/FrameStep.h"
#include "effects/ImageEffect.h"
#include "math/Vector3.h"

#include <vector>

class BlocksEffect : public ImageEffect {
public:
    struct Block {
        float s[4], t[4];
        Vector3 corners[4];
        Vector3 direction;
        Vector3 centre;
        float angle;  // degrees about z

        bool atRest() const { return corners[0].z == 0.0f; }
    };

    bool prepare() override;
    void update(float time) override;
    // The flight home stepped from Start in frame steps (the clamp at home is per step).
    void catchUp(float time, float step) override;
    void render() override;
    bool save(std::ostream&) override { return true; }

    // The most tiles a picture is cut into; a larger grid makes none.
    static constexpr long kMaxBlocks = 1 << 16;

    int rows = 4;
    int cols = 4;
    Vector3 centre{0.0f, 0.0f, 0.0f};
    float distance = 1.0f;
    std::vector<Block> blocks;
    FrameStep step;
};

std::unique_ptr<EffectType> makeBlocksEffectType();
