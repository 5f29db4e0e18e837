// A screen-covering grid of n × n quads whose texture coordinates wobble (and optionally swirl
// about the centre), for drawing the render target's image back with a watery distortion.
#pragma once
#include "math/Vector3.h"

#include <vector>

class DistortionGrid {
public:
    struct TexCoord {
        float s = 0.0f;
        float t = 0.0f;
    };

    // (n + 1)² texture coordinates; point (i, j) at i·(n + 1) + j. The coordinates run from
    // -0.5 to n/(n + 1) - 0.5 about the centre, are turned by the distance from the middle
    // point when `swirl` is set, and wobble by a cosine of the row and column. Nothing for n < 1.
    void build(int n, bool swirl);
    // One quad per cell across the unit square, in an orthographic 0..1 projection with a reset
    // model-view (both restored after). The caller binds the texture and sets colour and blend.
    void draw() const;
    // The same cells with the undistorted coordinates (the cell corners themselves) on texture
    // units 1 to `lastUnit` as well, for later stages that mix in straight pictures.
    void drawWithStraightCoords(int lastUnit = 1) const;

    int size() const { return n_; }
    const TexCoord& at(int i, int j) const { return coords_[std::size_t(i * (n_ + 1) + j)]; }

private:
    void drawCells(int lastStraightUnit) const;

    int n_ = 0;
    std::vector<TexCoord> coords_;
    // The quads as drawn: four corners per cell, i outer, and their texture coordinates.
    std::vector<float> corners_;
    std::vector<float> cornerCoords_;
};
