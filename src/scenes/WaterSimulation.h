// The water scene: a spinning star above a pool whose surface the show disturbs with drops.
#pragma once
#include "scenes/DemoScene.h"

class WaterSimulation : public DemoScene {
public:
    WaterSimulation() : DemoScene("WaterSimulation", 43.467f, 127.802f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Material* waterShader = nullptr;
    Mesh* star = nullptr;
};
