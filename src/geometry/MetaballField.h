// A blobby surface from point charges: the field sampled on a fixed cubic grid spanning -10..10
// on each axis, polygonised with marching cubes every frame, normals from the field's gradient.
#pragma once
#include "math/Vector3.h"

#include <cstdint>
#include <span>
#include <vector>

// One charge: position and strength.
struct Metaball {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float strength = 0.0f;
};

// A surface vertex as the vertex arrays take it (normal, then position; stride 24 bytes).
struct MetaballVertex {
    Vector3 normal;
    Vector3 position;
};
static_assert(sizeof(MetaballVertex) == 24, "metaball vertices are drawn with a stride of 24 bytes");

class MetaballField {
public:
    // Places the (n + 1)³ grid points and the n³ cubes; values and gradients start at 0. False
    // (and an empty field) when n < 1.
    bool init(int n);

    // Recomputes every grid point: value = Σ s / r², gradient accumulator = Σ d · s / r⁴ with d the
    // offset from the ball; r² = 0 (a ball exactly on a grid point) counts as 0.0001.
    void setBalls(const Metaball* balls, int count);

    // Appends the surface where the field equals `iso` to `out`, three vertices per triangle in
    // drawing order (the table's order with its last two vertices swapped, so that front faces
    // look away from the balls), normals pointing away from the balls.
    void polygonise(float iso, std::vector<MetaballVertex>& out);
    // Polygonises and draws the triangles through vertex arrays, in order; the caller sets the
    // material, transform and lighting.
    void render(float iso);
    // Draws the triangles of the last render again (the same field drawn at several places
    // needs polygonising once); nothing before the first render.
    void drawLast();

    int cells() const { return n_; }
    int pointCount() const { return points_; }
    int cubeCount() const { return n_ * n_ * n_; }
    // Index of grid point (i, j, k) and of cube (i, j, k).
    int pointIndex(int i, int j, int k) const { return (i * (n_ + 1) + j) * (n_ + 1) + k; }
    int cubeIndex(int i, int j, int k) const { return (i * n_ + j) * n_ + k; }
    // The grid point at corner c (0..7) of a cube.
    int cubeCorner(int cube, int c) const;

    Vector3 position(int point) const { return {px_[point], py_[point], pz_[point]}; }
    Vector3 gradient(int point) const { return {nx_[point], ny_[point], nz_[point]}; }
    // The field values, writable so that a caller can supply a field of its own.
    std::span<float> values() { return {value_.data(), std::size_t(points_)}; }

private:
    int n_ = 0;
    int points_ = 0;
    // Grid points as separate arrays so that setBalls runs over them in vector registers, padded
    // to whole blocks with points far outside the grid.
    std::vector<float> px_, py_, pz_, nx_, ny_, nz_, value_;
    // Point offsets of the eight cube corners from corner 0.
    int cornerOffset_[8] = {};
    // Scratch: which points lie below the iso level, the cube indices of one row of cubes, and the
    // per-edge interpolated positions and normals of the current cube.
    std::vector<std::uint8_t> below_;
    std::vector<std::uint8_t> rowIndex_;
    Vector3 edgePosition_[12];
    Vector3 edgeNormal_[12];
    // The triangles of the last render.
    std::vector<MetaballVertex> vertices_;
};
