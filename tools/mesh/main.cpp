// oculith-mesh: prints what a mesh file holds, or converts it to ".msh", loading it through the
// same mesh manager and importers the show uses.
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "geometry/MeshManager.h"
#include "lwo/LwoDiagnosis.h"
#include "material/MaterialLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const kHelp =
    "Usage: oculith-mesh info FILE\n"
    "       oculith-mesh convert IN OUT.msh\n"
    "       oculith-mesh --help\n"
    "\n"
    "Loads a mesh the way the show does: a \".msh\" file (the show's gzip-compressed format) or a\n"
    "LightWave LWO2 object (\".lwo\", first layer only). The extension picks the reader and is\n"
    "matched exactly, so \".LWO\" is not read.\n"
    "\n"
    "  info FILE         prints the mesh's facts, one per line:\n"
    "                      vertices: N\n"
    "                      faces: N              (triangles)\n"
    "                      flags: 0xNN           (0x01 normals, 0x02 vertex colours,\n"
    "                                             0x10 0x20 0x40 0x80 texture-coordinate sets 1-4)\n"
    "                      bounds: minx miny minz maxx maxy maxz\n"
    "                      materials: \"NAME\" ... (the face materials in order of first use)\n"
    "  convert IN OUT.msh  writes any mesh that loads as a \".msh\" file, material names included.\n"
    "\n"
    "A file that does not load gives its reason on standard error; for a LightWave file one of\n"
    "\"not an LWO2 file\", \"only patches (subdivision surfaces), no polygons\", \"no polygons\n"
    "in the first layer\" or \"truncated at byte N\" (the LWO2 reader also prints its own\n"
    "words on standard output). Exit status: 0 on success, 1 when a file does not load\n"
    "or cannot be written, 2 for a bad command line.\n";

int usage()
{
    std::fputs("oculith-mesh: bad command line (see oculith-mesh --help)\n", stderr);
    return 2;
}

bool endsWith(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// The reason a file gave no mesh: for a LightWave file (by its name or its "FORM" start) what
// its chunks say, else the general words.
std::string whyNotLoaded(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "cannot open this file";
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const bool lightwave = endsWith(path, ".lwo") || (bytes.size() >= 4 && std::memcmp(bytes.data(), "FORM", 4) == 0);
    const std::string reason = lightwave ? explainLwoFailure(bytes.data(), bytes.size()) : std::string();
    return reason.empty() ? "cannot load this mesh" : reason;
}

// Loads through the manager. A ".msh" file names its materials; the tool has no ".shader"
// script, so empty materials of those names are made first and the names survive.
Mesh* loadMesh(MeshManager& manager, MaterialLibrary& library, const std::string& path)
{
    std::vector<std::string> names;
    if (endsWith(path, ".msh") && meshfile::materialNames(path, names))
        for (const std::string& name : names)
            library.add(new Material(name));
    Mesh* mesh = manager.load(path, 0);
    if (!mesh)
        std::fprintf(stderr, "oculith-mesh: %s: %s\n", path.c_str(), whyNotLoaded(path).c_str());
    return mesh;
}

void printInfo(const Mesh& mesh)
{
    std::printf("vertices: %d\n", mesh.vertices.size());
    std::printf("faces: %d\n", mesh.faces.size());
    std::printf("flags: 0x%02x\n", unsigned(mesh.flags));
    std::printf("bounds: %g %g %g %g %g %g\n", mesh.boundsMin.x, mesh.boundsMin.y, mesh.boundsMin.z,
                mesh.boundsMax.x, mesh.boundsMax.y, mesh.boundsMax.z);
    std::vector<const Material*> used;
    for (const MeshFace& face : mesh.faces)
        if (face.material() && std::find(used.begin(), used.end(), face.material()) == used.end())
            used.push_back(face.material());
    std::printf("materials:");
    for (const Material* material : used)
        std::printf(" \"%s\"", material->name.c_str());
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    const bool info = args.size() == 2 && args[0] == "info";
    const bool convert = args.size() == 3 && args[0] == "convert";
    if (!info && !convert)
        return usage();

    MaterialLibrary library;
    MeshManager manager;
    manager.registerDefaultHandlers();
    Mesh* mesh = loadMesh(manager, library, args[1]);
    if (!mesh)
        return 1;
    if (info) {
        printInfo(*mesh);
        return 0;
    }
    if (!endsWith(args[2], ".msh")) {
        std::fprintf(stderr, "oculith-mesh: %s: the output must be a \".msh\" file\n", args[2].c_str());
        return 2;
    }
    if (!manager.save(args[2], *mesh)) {
        std::fprintf(stderr, "oculith-mesh: %s: cannot write this file\n", args[2].c_str());
        return 1;
    }
    return 0;
}
