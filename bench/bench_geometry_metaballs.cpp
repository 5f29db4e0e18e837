// The metaball field at its show size: 12 orbiting balls on a 32-cell grid, field evaluation and
// polygonisation per frame (the CPU side of one frame of the morph scene).
#include "geometry/MetaballField.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// The twelve balls' orbits at show time t.
void orbit(float t, Metaball balls[12])
{
    for (int i = 0; i < 12; ++i) {
        const float h = float(i) / 12.0f, g = i % 2 == 0 ? 1.0f : -1.0f;
        const float a = 2.0f * g * h * t, b = a + h * 1.5707964f;
        const float o = std::sin(a) + 3.75f;
        balls[i] = {o * (std::cos(b) + std::sin(b)), o * std::sin(a + h * 6.28f), o * (std::sin(b) - std::cos(b)),
                    o * (0.15f * std::cos(a + h * 2.47f) + 0.25f) + 0.1f};
    }
}

void BM_SetBalls(benchmark::State& state)
{
    MetaballField field;
    field.init(32);
    Metaball balls[12];
    orbit(270.0f, balls);
    for (auto _ : state) {
        field.setBalls(balls, 12);
        benchmark::DoNotOptimize(field.values().data());
    }
}
BENCHMARK(BM_SetBalls)->Unit(benchmark::kMicrosecond);

void BM_SetBallsAndPolygonise(benchmark::State& state)
{
    MetaballField field;
    field.init(32);
    Metaball balls[12];
    std::vector<MetaballVertex> out;
    float t = 262.0f;
    std::size_t vertices = 0;
    for (auto _ : state) {
        orbit(t, balls);
        t += 1.0f / 60.0f;
        field.setBalls(balls, 12);
        out.clear();
        field.polygonise(0.5f, out);
        vertices += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["triangles"] = benchmark::Counter(double(vertices) / 3.0 / double(state.iterations()));
}
BENCHMARK(BM_SetBallsAndPolygonise)->Unit(benchmark::kMicrosecond);

} // namespace
