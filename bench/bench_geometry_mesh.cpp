// Mesh loading and drawing: the largest LWO2 object of the corpus, a 100 000-triangle ".msh"
// (read and written), and drawing that mesh through vertex arrays on the headless context.
#include "GLFixture.h"
#include "TestFiles.h"
#include "geometry/LwoMeshImporter.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "material/MaterialLibrary.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kColumns = 250;
constexpr int kRows = 200;  // 250 x 200 quads = 100 000 triangles

// A wavy grid over the screen, colours and one coordinate set; the left and right halves use
// the materials "left" and "right".
void buildGrid(Mesh& mesh)
{
    mesh.flags = Mesh::kNormals | Mesh::kColours | Mesh::texCoordFlag(0);
    mesh.allocate((kColumns + 1) * (kRows + 1), 2 * kColumns * kRows);
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) {
            float px = 640.0f * x / kColumns, py = 480.0f * y / kRows;
            MeshTexCoord uv[1] = {{float(x) / kColumns, float(y) / kRows}};
            mesh.addVertex(MeshVertex{{px, py, 0.1f * std::sin(px)}, {}, {std::uint8_t(x), std::uint8_t(y), 128, 255}}, uv);
        }
    for (const char* side : {"left", "right"}) {
        Material* material = MaterialLibrary::instance->find(side);
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kColumns; ++x) {
                if ((x < kColumns / 2) != (side[0] == 'l'))
                    continue;
                int i = y * (kColumns + 1) + x;
                const int tris[2][3] = {{i, i + 1, i + kColumns + 2}, {i, i + kColumns + 2, i + kColumns + 1}};
                for (const auto& t : tris) {
                    MeshFace face;
                    std::copy(t, t + 3, face.indices);
                    material->addRef();
                    face.setMaterial(material);
                    mesh.addFace(face);
                }
            }
        MaterialLibrary::instance->release(material);
    }
    mesh.computeBounds();
    mesh.computeFacePlanes();
    mesh.computeVertexNormals();
}

struct Scene {
    Scene()
    {
        library.add(new Material("left"));
        library.add(new Material("right"));
        buildGrid(grid);
        path = testfiles::tempDir("bench-msh") + "/grid.msh";
        meshfile::write(path, grid);
    }
    MaterialLibrary library;
    Mesh grid;
    std::string path;
};

Scene& scene()
{
    static Scene s;
    return s;
}

void BM_LoadLargestLwo(benchmark::State& state)
{
    scene();
    const std::string path = testfiles::corpus("lwo/UglyVertexColors.lwo");
    for (auto _ : state) {
        Mesh mesh;
        benchmark::DoNotOptimize(lwoimport::importLwo(path, mesh));
    }
}
BENCHMARK(BM_LoadLargestLwo)->Unit(benchmark::kMillisecond);

void BM_ReadMsh100k(benchmark::State& state)
{
    const std::string& path = scene().path;
    for (auto _ : state) {
        Mesh mesh;
        if (!meshfile::read(path, mesh))
            state.SkipWithError("the .msh does not read");
    }
}
BENCHMARK(BM_ReadMsh100k)->Unit(benchmark::kMillisecond);

void BM_WriteMsh100k(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(meshfile::write(s.path + ".out", s.grid));
}
BENCHMARK(BM_WriteMsh100k)->Unit(benchmark::kMillisecond);

void BM_DrawMsh100k(benchmark::State& state)
{
    Scene& s = scene();
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    testgl::resetState();
    for (auto _ : state) {
        s.grid.begin();
        s.grid.draw(state.range(0) != 0);
        s.grid.end();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * s.grid.faces.size());
}
BENCHMARK(BM_DrawMsh100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
