// The opening scene: the box scene with its flock, the two rippling blobs and the morphing head.
#pragma once
#include "scenes/DemoScene.h"

class Introduction : public DemoScene {
public:
    Introduction() : DemoScene("Introduction", 0.0f, 43.467f) {}

    bool prepare() override;
    void update(float time) override;
    void render() override;

    Mesh* blob = nullptr;
    Mesh* blob2 = nullptr;
    Mesh* headFrom = nullptr;
    Mesh* headTo = nullptr;
    Mesh* boid = nullptr;
};
