// The geometric world: its scene over a breathing backdrop, with a fading feedback image.
#pragma once
#include "scenes/DemoScene.h"
#include "scenes/DistortionGrid.h"
#include "scenes/RenderToTexturePass.h"

class GeometricWorld : public DemoScene {
public:
    GeometricWorld() : DemoScene("GeometricWorld", 212.88f, 229.041f) {}

    bool prepare() override;
    // Hands the colour clear back to the frame before the base release.
    bool release() override;
    void update(float time) override;
    // The grain's drift, one move per frame since Start.
    void catchUp(float time, float step) override;
    void render() override;

    Texture* backdrop = nullptr;
    Texture* noise = nullptr;
    float lastTime = 212.88f;
    RenderToTexturePass pass;
    DistortionGrid grid;

private:
    // The backdrop, breathing in scale, laid over the kept picture at one eighth opacity.
    void drawBackdrop(float t);
};
