// One step of the 60 × 60 water surface (springs, integration, normals, refraction
// coordinates and shades), with drops falling on a circling path as the show lets them fall.
#include "scenes/WaterSurface.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void BM_WaterSurfaceStep(benchmark::State& state)
{
    WaterSurface water;
    water.init(60, 60, 1.0f, 4.1f);
    water.damping = 0.75f;
    const float dt = 1.0f / 60.0f;
    float t = 66.3f;
    for (auto _ : state) {
        t += dt;
        const float h = 10.0f * std::cos(t), l = 10.0f * std::sin(t);
        water.addDrop(30 + int(h + l), 30 - int(h - l), -0.125f);
        water.step(dt, Vector3{6.0f * std::cos(t), 5.0f, 6.0f * std::sin(t)});
        benchmark::DoNotOptimize(water.vertices.data());
    }
}
BENCHMARK(BM_WaterSurfaceStep)->Unit(benchmark::kMicrosecond);

} // namespace
