// The tunnel: its scene graph, the effects of its own timeline script, metaball clusters and
// volumetric lights.
#pragma once
#include "scenes/DemoScene.h"

class TunnelScene : public DemoScene {
public:
    TunnelScene() : DemoScene("TunnelScene", 135.233f, 174.056f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Material* volumeLight = nullptr;
    Material* tunnelMetaballs = nullptr;
    Mesh* lightMesh = nullptr;

private:
    // The tunnel's own timeline script: its effects join the timeline behind this scene.
    bool loadEffects(const std::string& path);
};
