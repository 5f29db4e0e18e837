// The tunnel's three-ball field at n = 20: the balls moved to the show time, the field
// recomputed and polygonised, as every frame of the scene does once (the four clusters draw the
// same triangles).
#include "geometry/MetaballField.h"
#include "scenes/TunnelScene.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_TunnelBlob(benchmark::State& state)
{
    MetaballField field;
    field.init(TunnelScene::kFieldSize);
    Metaball balls[3];
    std::vector<MetaballVertex> triangles;
    float t = 135.3f;
    for (auto _ : state) {
        t += 1.0f / 60.0f;
        TunnelScene::placeBalls(t, balls);
        field.setBalls(balls, 3);
        triangles.clear();
        field.polygonise(1.0f, triangles);
        benchmark::DoNotOptimize(triangles.data());
    }
    state.counters["triangles"] = double(triangles.size() / 3);
}
BENCHMARK(BM_TunnelBlob)->Unit(benchmark::kMicrosecond);

} // namespace
