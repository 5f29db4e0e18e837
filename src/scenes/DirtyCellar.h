// The cellar: a tapered, rippling, twisting object seen through two cameras.
#pragma once
#include "scenes/DemoScene.h"

class DirtyCellar : public DemoScene {
public:
    DirtyCellar() : DemoScene("DirtyCellar", 174.056f, 212.88f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Mesh* object = nullptr;
};
