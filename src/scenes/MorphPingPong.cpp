#include "scenes/MorphPingPong.h"

#include "geometry/Mesh.h"

#include <algorithm>

void MorphPingPong::advance(float dt)
{
    weight += speed * dt;
    if (weight < 0.0f || weight > 1.0f) {
        weight = weight < 0.0f ? 0.0f : 1.0f;
        speed = -speed;
    }
}

void morphPositions(Mesh& target, const Mesh& from, const Mesh& to, float weight)
{
    morphPositions(target, std::span<const MeshVertex>(from.vertices.data(), std::size_t(from.vertices.size())),
                   to, weight);
}

void morphPositions(Mesh& target, std::span<const MeshVertex> from, const Mesh& to, float weight)
{
    // Shapes of different sizes blend only the vertices they share.
    const int n = std::min({target.vertices.size(), int(from.size()), to.vertices.size()});
    for (int i = 0; i < n; ++i) {
        const Vector3& a = from[std::size_t(i)].position;
        target.vertices[i].position = a + (to.vertices[i].position - a) * weight;
    }
    target.computeFacePlanes();
    target.computeVertexNormals();
}
