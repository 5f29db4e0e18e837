#include "scenes/ShapeCopy.h"

void ShapeCopy::take(const Mesh* mesh)
{
    vertices_.clear();
    if (mesh)
        vertices_.assign(mesh->vertices.begin(), mesh->vertices.end());
}

void refreshShape(Mesh& mesh)
{
    mesh.computeFacePlanes();
    mesh.computeVertexNormals();
}
