// Bounding spheres of scene nodes and the six-plane view volume they are culled against.
#pragma once
#include "math/PlaneEq.h"
#include "math/Vector3.h"

#include <array>

struct BoundingSphere {
    Vector3 centre;
    float radius = 1.0f;

    // The sphere around a box: centre (min + max) / 2, radius |max - min| / 2.
    static BoundingSphere fromBox(const Vector3& min, const Vector3& max);
    // Grows this sphere to enclose `other`. Unchanged when it already encloses it; `other`
    // when that encloses this one (both centres in one place, for example).
    void merge(const BoundingSphere& other);
};

// Six planes whose normals point into the view volume: 0 to 3 the sides, 4 near, 5 far.
struct Frustum {
    std::array<PlaneEq, 6> planes{};

    // True when the sphere lies wholly on the outer side of some plane.
    bool outside(const BoundingSphere& sphere) const
    {
        for (const PlaneEq& plane : planes)
            if (plane.distance(sphere.centre) < -sphere.radius)
                return true;
        return false;
    }
};
