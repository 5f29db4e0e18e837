// The scenes' meshes: procedural shapes (blobs, heads, stars, tubes, rooms, lathed vessels)
// written through the system's own ".msh" writer, each face naming the material that the scene's
// material script defines.
#pragma once
#include "geometry/Mesh.h"
#include "math/Vector3.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace meshes {

// A triangle soup under construction: positions with one texture-coordinate pair each, and
// triangles with the index of their material name.
struct Shape {
    std::vector<Vector3> positions;
    std::vector<MeshTexCoord> uvs;
    std::vector<std::array<int, 3>> triangles;
    std::vector<int> triangleMaterial;
    std::vector<std::string> materials;

    // The index of a material name, added on first use.
    int material(const std::string& name);
    // A (columns + 1) × (rows + 1) grid of points f(u, v), u and v in 0..1, as two triangles per
    // cell. Every triangle is turned so that its normal agrees with `outward(p)`.
    void grid(int columns, int rows, const std::function<Vector3(float, float)>& f,
              const std::function<Vector3(const Vector3&)>& outward, const std::string& materialName);
};

// The finished mesh: face planes and smooth vertex normals computed; face materials are
// counted references to materials of `library` (created by name where missing).
std::unique_ptr<Mesh> build(const Shape& shape);

// One mesh file of the show: its path under the data folder and how it is made.
struct MeshAsset {
    std::string path;
    std::function<Shape()> make;
};
std::vector<MeshAsset> assets();
// The starter show's meshes (examples/starter).
std::vector<MeshAsset> starterAssets();

// Writes every mesh under `outDir`; false with `error` on the first failure.
bool write(const std::string& outDir, bool progress, std::string& error);
// Writes the meshes of `list` under `outDir`.
bool writeAssets(const std::vector<MeshAsset>& list, const std::string& outDir, bool progress, std::string& error);

} // namespace meshes
