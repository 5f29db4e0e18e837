// The 640 x 480 screen space of the overlay kinds: enable state, current colour, blending and
// both matrices saved on entry and restored on exit, and the quads drawn in it.
#pragma once
#include "core/ScreenSpace.h"

class ScreenFrame {
public:
    static constexpr float kWidth = screen::kWidth;
    static constexpr float kHeight = screen::kHeight;

    // Saves the enable state, the current colour and the colour-buffer state; lighting, depth test and face culling off; orthographic
    // projection 0..640 x 0..480 (near 0, far 1) and identity model-view, both pushed; blending on.
    ScreenFrame();
    // Pops both matrices and restores what was saved.
    ~ScreenFrame();
    ScreenFrame(const ScreenFrame&) = delete;
    ScreenFrame& operator=(const ScreenFrame&) = delete;

    // One quad from (x0, y0) to (x1, y1), corners bottom-left, top-left, top-right,
    // bottom-right; texture coordinate t0 lands on the top edge.
    static void texturedQuad(float x0, float y0, float x1, float y1, float s0, float t0, float s1,
                             float t1);
    static void quad(float x0, float y0, float x1, float y1);
};
