#include "scenegraph/Bounds.h"

BoundingSphere BoundingSphere::fromBox(const Vector3& min, const Vector3& max)
{
    return {(min + max) * 0.5f, (max - min).length() * 0.5f};
}

void BoundingSphere::merge(const BoundingSphere& other)
{
    const Vector3 d = other.centre - centre;
    const float dist = d.length();
    if (dist + other.radius <= radius)
        return;
    if (dist + radius <= other.radius) {
        // `other` encloses this sphere (one centre included, where the formula below would
        // divide by zero, and the formula's sphere would not hold all of `other`).
        *this = other;
        return;
    }
    const Vector3 p1 = centre - d * (radius / dist);
    const Vector3 p2 = other.centre + d * (other.radius / dist);
    centre = (p1 + p2) * 0.5f;
    radius = (p2 - centre).length();
}
