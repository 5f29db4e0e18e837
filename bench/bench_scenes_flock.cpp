// One update of the show's flock: five groups of ten creatures in the box the show uses.
#include "core/Random.h"
#include "scenes/Flock.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FlockUpdate(benchmark::State& state)
{
    show::resetRandom();
    Flock flock;
    flock.setBounds({-256, -100, -256}, {256, 100, 256});
    for (int g = 0; g < 5; ++g) {
        FlockGroup& group = flock.addGroup(nullptr);
        for (int i = 0; i < 10; ++i)
            flock.addBoid(group);
    }
    for (auto _ : state) {
        flock.update();
        benchmark::DoNotOptimize(flock.groups().front().boids.front().position);
    }
}
BENCHMARK(BM_FlockUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
