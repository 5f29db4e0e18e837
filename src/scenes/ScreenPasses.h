// Full-screen passes the picture-feedback scenes share: a textured quad over a 640 × 480
// orthographic screen, and the drifting grain picture added over a frame.
#pragma once
#include "core/GL.h"

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

// The 640 × 480 quad with texture (0, 0) at the top left corner, (1, 1) at the bottom right:
// the orientation of a picture file.
void drawPictureQuad();
// The same quad with texture (0, 0) at the bottom left: the orientation of the render target.
void drawTargetQuad();

// The grain picture laid additively over the frame at a brightness that pulses with time t;
// (u, v) are the drifting offsets, advanced by one step per call.
void drawNoisePass(Texture& noise, float t, float& u, float& v);
