// An undeformed copy of a mesh's vertices: the scenes that deform a mesh every frame run the
// deformers from this copy into the drawn mesh so the changes never accumulate.
#pragma once
#include "geometry/Mesh.h"

#include <span>
#include <vector>

class ShapeCopy {
public:
    // Copies the vertices of `mesh` as they are now (an empty copy for a null mesh).
    void take(const Mesh* mesh);
    void clear() { vertices_.clear(); }
    bool empty() const { return vertices_.empty(); }
    std::span<const MeshVertex> vertices() const { return vertices_; }

private:
    std::vector<MeshVertex> vertices_;
};

// The vertices of a mesh as a writable span, for the deformers.
inline std::span<MeshVertex> vertexSpan(Mesh& mesh)
{
    return {mesh.vertices.data(), std::size_t(mesh.vertices.size())};
}

// Face planes and vertex normals recomputed after the positions changed.
void refreshShape(Mesh& mesh);
