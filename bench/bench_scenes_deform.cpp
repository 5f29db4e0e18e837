// The per-frame CPU work of the deforming scenes on a sphere of 32 × 48 cells (1617 vertices,
// about the size of the show's blobs): each chain deforms from an undeformed copy and refreshes
// face planes and normals, as the scenes do every frame.
#include "geometry/MeshDeformer.h"
#include "scenes/MorphPingPong.h"
#include "scenes/ShapeCopy.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kRings = 32;
constexpr int kSegments = 48;

void buildSphere(Mesh& mesh, float radius)
{
    mesh.allocate((kRings + 1) * (kSegments + 1), 2 * kRings * kSegments);
    for (int r = 0; r <= kRings; ++r)
        for (int s = 0; s <= kSegments; ++s) {
            const float a = 3.14159265f * float(r) / kRings, b = 6.2831853f * float(s) / kSegments;
            MeshVertex v;
            v.position = {radius * std::sin(a) * std::cos(b), radius * std::cos(a), radius * std::sin(a) * std::sin(b)};
            mesh.addVertex(v);
        }
    for (int r = 0; r < kRings; ++r)
        for (int s = 0; s < kSegments; ++s) {
            const int i = r * (kSegments + 1) + s, j = i + kSegments + 1;
            MeshFace f;
            f.indices[0] = i, f.indices[1] = j, f.indices[2] = i + 1;
            mesh.addFace(f);
            f.indices[0] = i + 1, f.indices[1] = j, f.indices[2] = j + 1;
            mesh.addFace(f);
        }
}

struct Fixture {
    Mesh mesh, other;
    ShapeCopy shape;
    Fixture()
    {
        buildSphere(mesh, 6.0f);
        buildSphere(other, 8.0f);
        shape.take(&mesh);
    }
};

// One blob of the opening scene: ripple from the copy, twist in place, refresh.
void BM_IntroBlobFrame(benchmark::State& state)
{
    Fixture f;
    RippleDeformer ripple;
    ripple.setWave(deformaxis::kX, 2.0f, -2.0f, 12.0f, 2.3f, 0.1f, 0.9f);
    ripple.setWave(deformaxis::kY, -2.0f, 2.0f, 12.0f, 2.3f, 0.25f, 0.9f);
    ripple.setWave(deformaxis::kZ, -2.0f, 2.0f, 12.0f, 2.3f, 0.5f, 0.9f);
    TwistDeformer twist;
    twist.setup({6, 6, 6}, {}, deformaxis::kY, 7);
    float t = 12.0f;
    for (auto _ : state) {
        t += 1.0f / 60.0f;
        ripple.phase = 8.0f * t;
        ripple.applyToVertices(f.shape.vertices(), vertexSpan(f.mesh));
        twist.setAngles({0.0f, 0.9f * std::cos(3.14f * t), 0.0f});
        twist.applyToVertices(vertexSpan(f.mesh), vertexSpan(f.mesh));
        refreshShape(f.mesh);
        benchmark::DoNotOptimize(f.mesh.vertices[0].normal);
    }
}
BENCHMARK(BM_IntroBlobFrame)->Unit(benchmark::kMicrosecond);

// The head blend of the opening scene.
void BM_IntroHeadMorphFrame(benchmark::State& state)
{
    Fixture f;
    MorphPingPong morph;
    for (auto _ : state) {
        morph.advance(1.0f / 60.0f);
        morphPositions(f.mesh, f.shape.vertices(), f.other, morph.weight);
        benchmark::DoNotOptimize(f.mesh.vertices[0].normal);
    }
}
BENCHMARK(BM_IntroHeadMorphFrame)->Unit(benchmark::kMicrosecond);

// The cellar's object: taper from the copy, ripple and twist in place, refresh.
void BM_CellarObjectFrame(benchmark::State& state)
{
    Fixture f;
    RippleDeformer ripple;
    for (int axis : {deformaxis::kX, deformaxis::kY, deformaxis::kZ})
        ripple.setWave(axis, 2.0f, -2.0f, 12.0f, 2.3f, 0.0f, 0.9f);
    TaperDeformer taper;
    taper.setup({}, 1.0f, 1.0f, deformaxis::kY);
    taper.setExtentFromBox({-6, -6, -6}, {6, 6, 6});
    TwistDeformer twist;
    twist.setup({2, 2, 2}, {}, deformaxis::kY, 7);
    float t = 180.0f;
    for (auto _ : state) {
        t += 1.0f / 60.0f;
        taper.setScale1(2.0f * (std::sin(2.0f * t) + 1.1f));
        taper.setScale2(2.0f * (std::cos(2.0f * t) + 1.1f));
        taper.applyToVertices(f.shape.vertices(), vertexSpan(f.mesh));
        ripple.phase = t;
        ripple.applyToVertices(vertexSpan(f.mesh), vertexSpan(f.mesh));
        twist.setAngles({0.0f, 0.9f * std::cos(t), 0.0f});
        twist.applyToVertices(vertexSpan(f.mesh), vertexSpan(f.mesh));
        refreshShape(f.mesh);
        benchmark::DoNotOptimize(f.mesh.vertices[0].normal);
    }
}
BENCHMARK(BM_CellarObjectFrame)->Unit(benchmark::kMicrosecond);

// The greetings' ornament: three twists about y, z and x, refresh.
void BM_GreetingsOrnamentFrame(benchmark::State& state)
{
    Fixture f;
    TwistDeformer twist;
    twist.setup({4, 4, 4}, {}, deformaxis::kY, 7);
    float t = 300.0f;
    for (auto _ : state) {
        t += 1.0f / 60.0f;
        twist.axes = deformaxis::kY;
        twist.setAngles({0.0f, 6.28f * std::cos(1.34f * t), 0.0f});
        twist.applyToVertices(f.shape.vertices(), vertexSpan(f.mesh));
        twist.axes = deformaxis::kZ;
        twist.setAngles({0.0f, 0.0f, 12.56f * std::cos(1.005f * t)});
        twist.applyToVertices(vertexSpan(f.mesh), vertexSpan(f.mesh));
        twist.axes = deformaxis::kX;
        twist.setAngles({3.14f * std::cos(0.44f * t), 0.0f, 0.0f});
        twist.applyToVertices(vertexSpan(f.mesh), vertexSpan(f.mesh));
        refreshShape(f.mesh);
        benchmark::DoNotOptimize(f.mesh.vertices[0].normal);
    }
}
BENCHMARK(BM_GreetingsOrnamentFrame)->Unit(benchmark::kMicrosecond);

} // namespace
