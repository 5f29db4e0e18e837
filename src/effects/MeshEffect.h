// One mesh of the mesh manager drawn under the animator's transform, through the current
// camera when there is one.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"

class Mesh;

class MeshEffect : public Effect {
public:
    bool release() override;
    void update(float time) override;
    void render() override;
    bool save(std::ostream& stream) override;

    // Kept by the mesh manager; none when the named mesh was neither found nor loaded.
    Mesh* mesh = nullptr;
};

std::unique_ptr<EffectType> makeMeshEffectType();
