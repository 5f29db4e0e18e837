// Full-screen passes the picture-feedback scenes share: a textured quad over a 640 × 480
// orthographic screen, and the drifting grain picture added over a frame.
#pragma once
#include "core/GL.h"

class DistortionGrid;
class PBuffer;
class Texture;

// Projection, model-view and texture matrices pushed and reset to a 640 × 480 orthographic
// screen (near 0, far 1) for the life of the object, restored after.
class ScreenSpaceMatrices {
public:
    ScreenSpaceMatrices();
    ~ScreenSpaceMatrices();
    ScreenSpaceMatrices(const ScreenSpaceMatrices&) = delete;
    ScreenSpaceMatrices& operator=(const ScreenSpaceMatrices&) = delete;
};

// For the life of the object: depth test and depth writes off, blending and the rest of the
// enable, colour-buffer and depth-buffer state and the current colour restored after. Screen
// quads lie in front of everything (depth 0 under a less-or-equal test), so the test would only
// cost a depth read per pixel.
class ScreenPassState {
public:
    ScreenPassState();
    ~ScreenPassState();
    ScreenPassState(const ScreenPassState&) = delete;
    ScreenPassState& operator=(const ScreenPassState&) = delete;

private:
    float colour_[4];  // the current colour, set back by hand after the pass
};

// The 640 × 480 quad with texture (0, 0) at the top left corner, (1, 1) at the bottom right:
// the orientation of a picture file.
void drawPictureQuad();
// The same quad with texture (0, 0) at the bottom left: the orientation of the render target.
void drawTargetQuad();

// One frame's grain: the picture, its brightness and its drifting offsets.
struct Grain {
    Texture* noise = nullptr;
    float brightness = 0.0f;
    float u = 0.0f, v = 0.0f;
};
// One frame's drift of the grain offsets (u, v).
void moveGrain(float& u, float& v);
// The grain for time t: the offsets (u, v) advanced by one step, the brightness pulsing with t.
Grain stepGrain(Texture& noise, float t, float& u, float& v);
// The grain picture laid additively over the frame.
void drawGrain(const Grain& grain);
// Both: one step of the grain, drawn.
void drawNoisePass(Texture& noise, float t, float& u, float& v);

// The render target's picture through `grid`, with the undistorted picture laid over it at
// opacity `overlay` (times the picture's own alpha) and then, when given, the grain added over
// it all. Where the driver combines textures with crossbar sources (and, for the grain, with
// a modulate-add) this is one pass with the picture on units 0 and 1 and the grain on unit 2;
// otherwise, and when `onePass` is false, the grid, a blended screen quad and the grain pass.
// Both give the same pixels, alpha included. True when it drew in one pass.
bool drawThroughGrid(const DistortionGrid& grid, PBuffer& target, float overlay, const Grain* grain = nullptr,
                     bool onePass = true);
