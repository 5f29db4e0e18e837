// The closing scene: twisting pipes and the scrolling greetings, drawn into the render target
// and shown through a swirling grid.
#pragma once
#include "geometry/MeshDeformer.h"
#include "scenes/DemoScene.h"
#include "scenes/DistortionGrid.h"
#include "scenes/GreetingsScroll.h"
#include "scenes/RenderToTexturePass.h"
#include "scenes/ScreenPasses.h"
#include "scenes/ShapeCopy.h"

class GreetingsScene : public DemoScene {
public:
    static constexpr float kStart = 294.243f;
    static constexpr float kTextX = 36.0f;

    GreetingsScene() : DemoScene("", kStart, 356.0f) {}

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    // The scroll advanced frame by frame from Start (it adds at most one line a frame) and the
    // grain's drift.
    void catchUp(float time, float step) override;
    void render() override;

    Texture* noise = nullptr;
    Mesh* pipes = nullptr;
    Mesh* dings = nullptr;
    float lastTime = kStart;
    GreetingsScroll scroll{kStart};
    ShapeCopy pipesShape, dingsShape;
    TwistDeformer twist;
    RenderToTexturePass pass;
    DistortionGrid grid;

private:
    void twistMeshes(float t);
    // The text lines from the newest (lowest) up to the first, with the console font.
    void drawText() const;
    // Scene graph and text into the render target, shown through the grid and the overlay,
    // with the grain over them.
    void renderThroughTarget(float t, const Grain& grain);
};
