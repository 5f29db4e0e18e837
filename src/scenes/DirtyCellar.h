// The cellar: a tapered, rippling, twisting object seen through two cameras; the second camera's
// picture hangs in the room as a wobbling four-strip monitor.
#pragma once
#include "geometry/MeshDeformer.h"
#include "scenes/DemoScene.h"
#include "scenes/ShapeCopy.h"

class PBuffer;

class DirtyCellar : public DemoScene {
public:
    static constexpr const char* kMonitorCamera = "SecondHandCamera";

    DirtyCellar() : DemoScene("DirtyCellar", 174.056f, 212.88f) {}

    bool prepare() override;
    bool release() override;
    void update(float time) override;
    void render() override;

    Mesh* object = nullptr;
    float lastTime = 174.056f;
    ShapeCopy objectShape;
    RippleDeformer ripple;
    TwistDeformer twist;
    TaperDeformer taper;

private:
    // The scene through the monitor camera into the render target.
    void renderMonitorPicture(PBuffer& target);
    // The target's picture as four wobbling strips with outlines, at the right of the screen.
    void drawMonitor(PBuffer& target, float t);
};
