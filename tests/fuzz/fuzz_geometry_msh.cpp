// libFuzzer target: arbitrary decompressed ".msh" content through the mesh reader, with a
// material library that knows one name, then the mesh's own computations over what was read.
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "material/MaterialLibrary.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MaterialLibrary library;
    library.add(new Material("a"));
    Mesh mesh;
    if (meshfile::parse(data, size, mesh)) {
        mesh.computeFacePlanes();
        mesh.computeVertexNormals();
        std::vector<std::uint8_t> out;
        meshfile::serialize(mesh, out);
    }
    return 0;
}
