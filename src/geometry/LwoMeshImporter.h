// Turns a LightWave LWO2 object into a Mesh: surfaces become materials, polygons triangle fans.
#pragma once
#include <string>

class Mesh;
struct LwoObject;

namespace lwoimport {

// Reads the LWO2 file (a show path) and fills the empty mesh from its first layer. False when
// the file does not read or holds no triangles.
bool importLwo(const std::string& path, Mesh& mesh);

// Fills the empty mesh from the object's first layer: a material per surface name in the
// material library (empty ones are created for names it lacks), flags from the vertex maps,
// vertex colours, texture coordinates (u, 1 - v) from each surface's image map, and one
// triangle fan per polygon of three or more vertices.
bool buildMesh(const LwoObject& object, Mesh& mesh);

} // namespace lwoimport
