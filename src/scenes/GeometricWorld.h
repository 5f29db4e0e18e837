// The geometric world: its scene over a breathing backdrop, with a fading feedback image.
#pragma once
#include "scenes/DemoScene.h"

class GeometricWorld : public DemoScene {
public:
    GeometricWorld() : DemoScene("GeometricWorld", 212.88f, 229.041f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Texture* backdrop = nullptr;
    Texture* noise = nullptr;
};
