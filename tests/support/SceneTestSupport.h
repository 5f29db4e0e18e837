// Meshes and scene text for the scene-graph tests.
#pragma once
#include "geometry/Mesh.h"
#include "geometry/MeshManager.h"
#include "scenegraph/SceneLoader.h"

#include <memory>
#include <sstream>
#include <string>

namespace scenetest {

// A square of side 2·half around the origin, both sides facing out (four triangles): in the
// z = 0 plane with normals +z on the front pair and -z on the back pair, or with `flat` in the
// y = 0 plane with normals +y and -y.
inline Mesh* addSquare(MeshManager& manager, const std::string& name, float half = 1.0f,
                       std::uint8_t grey = 255, bool flat = false)
{
    auto mesh = std::make_unique<Mesh>();
    mesh->name = name;
    mesh->flags = Mesh::kNormals | Mesh::kColours;
    mesh->allocate(8, 4);
    for (float nz : {1.0f, -1.0f})
        for (auto [x, y] : {std::pair{-half, -half}, {half, -half}, {half, half}, {-half, half}})
            mesh->addVertex(flat ? MeshVertex{{x, 0.0f, -y}, {0.0f, nz, 0.0f}, {grey, grey, grey, 255}}
                                 : MeshVertex{{x, y, 0.0f}, {0.0f, 0.0f, nz}, {grey, grey, grey, 255}});
    const int tris[4][3] = {{0, 1, 2}, {0, 2, 3}, {4, 6, 5}, {4, 7, 6}};
    for (const auto& t : tris) {
        MeshFace face;
        std::copy(t, t + 3, face.indices);
        mesh->addFace(face);
    }
    mesh->computeBounds();
    mesh->computeFacePlanes();
    Mesh* held = mesh.get();
    manager.add(mesh.release());
    return held;
}

// One triangle in the z = 0 plane facing +z: the smallest mesh that draws.
inline void makeTriangle(Mesh& mesh)
{
    mesh.allocate(3, 1);
    for (const Vector3& p : {Vector3{0, 0, 0}, Vector3{1, 0, 0}, Vector3{0, 1, 0}})
        mesh.addVertex(MeshVertex{p, {0, 0, 1}});
    MeshFace face;
    for (int i = 0; i < 3; ++i)
        face.indices[i] = i;
    mesh.addFace(face);
}

inline std::unique_ptr<SceneNode> read(const std::string& text)
{
    std::istringstream stream(text);
    return sceneloader::read(stream, "test.scene");
}

} // namespace scenetest
