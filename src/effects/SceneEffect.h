// A whole ".scene" file played for the effect's window, drawn through the current camera.
#pragma once
#include "effects/Effect.h"
#include "effects/EffectType.h"
#include "scenegraph/Scene.h"

class SceneEffect : public Effect {
public:
    // Switches the scene's lights off and destroys its tree.
    bool release() override;
    void update(float time) override;
    // The tree's particle systems stepped from Start in frame steps; the rest follows the time.
    void catchUp(float time, float step) override;
    // Through the camera manager's current camera; lit while the tree holds a light that is on.
    // Leaves the matrices, lighting and light slots as it found them.
    void render() override;

    Scene scene;
};

std::unique_ptr<EffectType> makeSceneEffectType();
