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
    // Through the camera manager's current camera; lit while the tree holds a light that is on.
    void render() override;

    Scene scene;
};

std::unique_ptr<EffectType> makeSceneEffectType();
