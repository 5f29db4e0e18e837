// A blend weight that runs back and forth between 0 and 1 at a fixed speed, and the blend of
// one mesh's vertex positions between two shapes with the same vertex order.
#pragma once

#include "geometry/Mesh.h"

#include <span>

struct MorphPingPong {
    static constexpr float kSpeed = 0.30003002f;  // weight units per second

    float weight = 0.0f;
    float speed = kSpeed;

    // weight += speed × dt; past 0 or 1 it stops there and turns round.
    void advance(float dt);
};

// position = from + (to - from) × weight for every vertex of `target` that both shapes have;
// normals and colours stay. Vertex normals and face planes are recomputed afterwards.
void morphPositions(Mesh& target, const Mesh& from, const Mesh& to, float weight);
// The same from a vertex copy (the undeformed shape) towards `to`.
void morphPositions(Mesh& target, std::span<const MeshVertex> from, const Mesh& to, float weight);
