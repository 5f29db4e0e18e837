// libFuzzer target: arbitrary bytes through the LWO2 reader and, when they read, the conversion
// into a mesh with materials.
#include "geometry/LwoMeshImporter.h"
#include "geometry/Mesh.h"
#include "lwo/LwoReader.h"
#include "material/MaterialLibrary.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto object = readLwoMemory(data, size, "fuzz.lwo");
    if (!object)
        return 0;
    MaterialLibrary library;
    {
        Mesh mesh;
        lwoimport::buildMesh(*object, mesh);
    }
    freeLwo(object);
    return 0;
}
