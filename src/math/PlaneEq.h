// A plane a·x + b·y + c·z + d = 0 with unit normal (a, b, c), for shadows, culling and deflectors.
#pragma once
#include "math/Vector3.h"

struct PlaneEq {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    constexpr PlaneEq() = default;
    constexpr PlaneEq(float a_, float b_, float c_, float d_) : a(a_), b(b_), c(c_), d(d_) {}

    // The plane through three points, normal = normalize(cross(p1 - p0, p2 - p0)) (counter-clockwise
    // points face the viewer). Collinear points give a zero normal and d = 0.
    static PlaneEq fromPoints(const Vector3& p0, const Vector3& p1, const Vector3& p2)
    {
        const Vector3 n = cross(p1 - p0, p2 - p0).normalized();
        return {n.x, n.y, n.z, -dot(n, p0)};
    }

    Vector3 normal() const { return {a, b, c}; }
    // Signed distance of p (positive on the side the normal points to).
    float distance(const Vector3& p) const { return a * p.x + b * p.y + c * p.z + d; }

    float* data() { return &a; }
    const float* data() const { return &a; }
};

static_assert(sizeof(PlaneEq) == 4 * sizeof(float), "PlaneEq is four packed floats");
