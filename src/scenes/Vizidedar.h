// A lit scene graph played as it is.
#pragma once
#include "scenes/DemoScene.h"

class Vizidedar : public DemoScene {
public:
    Vizidedar() : DemoScene("Vizidedar", 229.041f, 261.549f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    float lastTime = 229.041f;
};
