// The closing scene: twisting pipes and the scrolling greetings.
#pragma once
#include "scenes/DemoScene.h"

class GreetingsScene : public DemoScene {
public:
    GreetingsScene() : DemoScene("", 294.243f, 356.0f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Texture* noise = nullptr;
    Mesh* pipes = nullptr;
    Mesh* dings = nullptr;
};
