// A 200-node scene: 20 turning groups of 9 mesh nodes each (and the root): the per-frame tree
// update and the culled draw through a camera on the headless context.
#include "GLFixture.h"
#include "SceneTestSupport.h"
#include "animation/KeyframerLW.h"
#include "core/RestingGLState.h"
#include "scenegraph/Camera.h"
#include "scenegraph/MeshNode.h"
#include "scenegraph/Scene.h"

#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    Fixture()
    {
        Mesh* square = scenetest::addSquare(meshes, "square.msh", 0.5f);
        auto root = std::make_unique<GroupNode>();
        for (int g = 0; g < 20; ++g) {
            auto group = std::make_unique<GroupNode>();
            auto animator = std::make_unique<KeyframerLW>();
            animator->channels[KeyframerLW::PositionX].keys.push_back({float(g % 5) * 8.0f - 16.0f, 0.0f});
            animator->channels[KeyframerLW::PositionY].keys.push_back({float(g / 5) * 8.0f - 12.0f, 0.0f});
            animator->channels[KeyframerLW::Heading].keys = {{0.0f, 0.0f}, {6.283f, 10.0f}};
            for (int c : {KeyframerLW::ScaleX, KeyframerLW::ScaleY, KeyframerLW::ScaleZ})
                animator->channels[c].keys.push_back({1.0f, 0.0f});
            group->animator = std::move(animator);
            for (int m = 0; m < 9; ++m) {
                auto node = std::make_unique<MeshNode>();
                node->setMesh(square);
                node->position = {float(m % 3) * 1.5f - 1.5f, float(m / 3) * 1.5f - 1.5f, 0.0f};
                group->addChild(std::move(node));
            }
            root->addChild(std::move(group));
        }
        scene.setRoot(std::move(root));
        camera.setPositionAndTarget({0, 0, -60}, {0, 0, 0});
    }
    MeshManager meshes;
    Scene scene;
    Camera camera;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_SceneUpdate200(benchmark::State& state)
{
    Fixture& f = fixture();
    float time = 0.0f;
    for (auto _ : state) {
        f.scene.update(time);
        time += 0.016f;
    }
}
BENCHMARK(BM_SceneUpdate200)->Unit(benchmark::kMicrosecond);

void BM_SceneDraw200(benchmark::State& state)
{
    Fixture& f = fixture();
    if (!testgl::ensureContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    testgl::resetState();
    applyRestingGLState();
    f.scene.update(1.0f);
    f.camera.setViewport(640, 480);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        f.camera.applyView();
        f.scene.draw(&f.camera);
        glFinish();
    }
}
BENCHMARK(BM_SceneDraw200)->Unit(benchmark::kMicrosecond);

} // namespace
