// libFuzzer target: arbitrary ".scene" text through the scene reader, with a mesh manager that
// holds one mesh and a camera manager, then two updates of whatever tree was read.
#include "geometry/Mesh.h"
#include "geometry/MeshManager.h"
#include "material/MaterialLibrary.h"
#include "scenegraph/CameraManager.h"
#include "scenegraph/Scene.h"
#include "scenegraph/SceneLoader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MaterialLibrary library;
    MeshManager meshes;
    CameraManager cameras;
    auto* mesh = new Mesh;
    mesh->name = "m.msh";
    mesh->allocate(3, 1);
    for (int i = 0; i < 3; ++i)
        mesh->addVertex(MeshVertex{{float(i), float(i * i), 1.0f}, {0, 0, 1}, {}});
    MeshFace face;
    face.indices[0] = 0, face.indices[1] = 1, face.indices[2] = 2;
    mesh->addFace(face);
    mesh->computeBounds();
    meshes.add(mesh);

    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    Scene scene;
    scene.setRoot(sceneloader::read(stream, "fuzz.scene"));
    scene.update(0.0f);
    scene.update(1.5f);
    return 0;
}
