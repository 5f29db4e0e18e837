// Particle systems of 10 000 particles: update with each generator and two operators (a force
// and a reflection plane), and render with each renderer on the headless context.
#include "GLFixture.h"
#include "core/RestingGLState.h"
#include "core/Random.h"
#include "material/MaterialLibrary.h"
#include "particles/ParticleSystemReader.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

constexpr int kParticles = 10000;

MaterialLibrary& library()
{
    static MaterialLibrary* l = [] {
        auto* lib = new MaterialLibrary;
        auto* white = new Material("white");
        lib->add(white);
        white->addRef();
        return lib;
    }();
    return *l;
}

// A system of `kind` whose pool holds 10 000 living particles: long lives, and a spawn rate
// that keeps the pool full as particles die.
std::unique_ptr<ParticleSystem> makeSystem(const std::string& kind, const std::string& renderer)
{
    library();
    show::resetRandom();
    std::istringstream in("Max 10000\nSpawnRate 200000\nGenerator {\nType \"" + kind +
                          "\"\nFlags Respawn\nLifespan 1000\nEnergySpeed 0\nScaleSpeed 0\nMaxDistance 1e9\n"
                          "Bottom -1e9\n}\nForce {\nDirection 0 -1 0\nStrength 2\n}\n"
                          "ReflectionPlane {\nPosition 0 -50 0\nNormal 0 1 0\nBounciness 1.5\n}\n"
                          "Renderer {\nType \"" + renderer + "\"\nShader \"white\"\n}\n}\n");
    ScriptReader reader;
    auto system = readParticleSystem(reader, in);
    // Emitting kinds: fill the pool, then stop births so every update steps 10 000 particles.
    while (int(system->particles.size()) < kParticles)
        system->update(0.05f);
    system->particles.resize(kParticles);
    system->spawnRate = 0.0f;
    return system;
}

void updateParticles(benchmark::State& state, const char* kind)
{
    auto system = makeSystem(kind, "Points");
    for (auto _ : state) {
        system->update(0.0001f);
        benchmark::DoNotOptimize(system->particles.data());
    }
    state.counters["ns/particle"] = benchmark::Counter(
        double(state.iterations()) * kParticles, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kParticles);
}

void renderParticles(benchmark::State& state, const char* renderer)
{
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    testgl::resetState();
    applyRestingGLState();
    auto system = makeSystem("Sphere", renderer);
    for (auto _ : state) {
        system->render(nullptr);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
}

} // namespace

BENCHMARK_CAPTURE(updateParticles, Bubble, "Bubble");
BENCHMARK_CAPTURE(updateParticles, Fire, "Fire");
BENCHMARK_CAPTURE(updateParticles, Rain, "Rain");
BENCHMARK_CAPTURE(updateParticles, Smoke, "Smoke");
BENCHMARK_CAPTURE(updateParticles, Sphere, "Sphere");
BENCHMARK_CAPTURE(renderParticles, Points, "Points");
BENCHMARK_CAPTURE(renderParticles, Lines, "Lines");
BENCHMARK_CAPTURE(renderParticles, Quads, "Quads");
BENCHMARK_CAPTURE(renderParticles, StretchQuads, "StretchQuads");
BENCHMARK_CAPTURE(renderParticles, Meshes, "Meshes");
