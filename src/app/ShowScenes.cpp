#include "app/ShowScenes.h"

#include "effects/EffectTimeline.h"
#include "scenes/AlienMorphScene.h"
#include "scenes/DirtyCellar.h"
#include "scenes/GeometricWorld.h"
#include "scenes/GreetingsScene.h"
#include "scenes/Introduction.h"
#include "scenes/TunnelScene.h"
#include "scenes/Vizidedar.h"
#include "scenes/WaterSimulation.h"

#include <limits>
#include <memory>

namespace {

template <class T>
std::unique_ptr<Effect> make()
{
    return std::make_unique<T>();
}

template <class T>
bool isA(const Effect& effect)
{
    return dynamic_cast<const T*>(&effect) != nullptr;
}

// Each scene with the name its problems are reported under, the last start offset at which it
// is still built, and the files that are its own (scripts, and the meshes and pictures its code
// names), the test of whether a show folder holds the scene at all. Shared pictures (the grain
// "noise.jpg") do not count.
struct SceneEntry {
    const char* label;
    float lastOffset;
    std::unique_ptr<Effect> (*create)();
    bool (*is)(const Effect&);
    const char* files[9];
};

constexpr float kAlways = std::numeric_limits<float>::infinity();

constexpr SceneEntry kScenes[] = {
    {"Introduction", 43.467f, make<Introduction>, isA<Introduction>,
     {"data\\scr\\intro.shader", "data\\scr\\intro_boks.scene", "data\\obj\\blob.msh", "data\\obj\\blob2.msh",
      "data\\obj\\bitehead-anim-001.msh", "data\\obj\\bitehead-anim-002.msh", "data\\obj\\boid.msh"}},
    {"WaterSimulation", 127.802f, make<WaterSimulation>, isA<WaterSimulation>,
     {"data\\scr\\watersimulation.shader", "data\\scr\\watersimulation.scene", "data\\obj\\pstar.msh",
      "data\\art\\pool.jpg", "data\\art\\water-sky.jpg"}},
    {"TunnelScene", 174.056f, make<TunnelScene>, isA<TunnelScene>,
     {"data\\scr\\tunnelscene.shader", "data\\scr\\tunnelscene.effect", "data\\scr\\tunnelscene.scene",
      "data\\obj\\volting.msh", "data\\art\\tunnel-panel.jpg", "data\\art\\tunnel-exit.jpg", "data\\art\\beam.jpg",
      "data\\art\\light-core.jpg"}},
    {"DirtyCellar", 212.88f, make<DirtyCellar>, isA<DirtyCellar>,
     {"data\\scr\\dirtycellar.shader", "data\\scr\\dirtycellar.scene", "data\\obj\\ting3.msh"}},
    {"GeometricWorld", 229.041f, make<GeometricWorld>, isA<GeometricWorld>,
     {"data\\scr\\geometricworld.shader", "data\\scr\\geometricworld.scene", "data\\art\\fire-city.jpg"}},
    {"Vizidedar", 261.549f, make<Vizidedar>, isA<Vizidedar>,
     {"data\\scr\\vizidedar.shader", "data\\scr\\vizidedar.scene", "data\\art\\viz_panorama.jpg"}},
    {"AlienMorphScene", kAlways, make<AlienMorphScene>, isA<AlienMorphScene>,
     {"data\\scr\\alienscene.shader", "data\\scr\\alienscene_metaballs.envelope", "data\\scr\\eyeball_scene.shader",
      "data\\scr\\eyeball_scene.scene", "data\\art\\alien_skin.jpg", "data\\art\\alien_wave.jpg",
      "data\\obj\\eye_globe.msh"}},
    {"GreetingsScene", kAlways, make<GreetingsScene>, isA<GreetingsScene>,
     {"data\\scr\\greetings.shader", "data\\scr\\greetings.scene", "data\\obj\\g_pipes.msh", "data\\obj\\dings.msh"}},
};

bool holdsAnyFile(const SceneEntry& entry, ShowFileTest exists)
{
    for (const char* file : entry.files)
        if (file && exists(file))
            return true;
    return false;
}

} // namespace

std::vector<std::string> addShowScenes(EffectTimeline& timeline, float startOffset, ShowFileTest exists)
{
    std::vector<std::string> absent;
    for (const SceneEntry& entry : kScenes) {
        if (startOffset > entry.lastOffset)
            continue;
        if (exists && !holdsAnyFile(entry, exists))
            absent.emplace_back(entry.label);
        else
            timeline.add(entry.create());
    }
    return absent;
}

std::string showSceneName(const Effect& scene)
{
    if (!scene.name.empty())
        return scene.name;
    for (const SceneEntry& entry : kScenes)
        if (entry.is(scene))
            return entry.label;
    return "(an unnamed effect)";
}
