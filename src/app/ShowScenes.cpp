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

// Each scene with the last start offset at which it is still built, and the name its problems
// are reported under.
struct SceneEntry {
    float lastOffset;
    std::unique_ptr<Effect> (*create)();
    bool (*is)(const Effect&);
    const char* name;
};

constexpr float kAlways = std::numeric_limits<float>::infinity();

constexpr SceneEntry kScenes[] = {
    {43.467f, make<Introduction>, isA<Introduction>, "Introduction"},
    {127.802f, make<WaterSimulation>, isA<WaterSimulation>, "WaterSimulation"},
    {174.056f, make<TunnelScene>, isA<TunnelScene>, "TunnelScene"},
    {212.88f, make<DirtyCellar>, isA<DirtyCellar>, "DirtyCellar"},
    {229.041f, make<GeometricWorld>, isA<GeometricWorld>, "GeometricWorld"},
    {261.549f, make<Vizidedar>, isA<Vizidedar>, "Vizidedar"},
    {kAlways, make<AlienMorphScene>, isA<AlienMorphScene>, "AlienMorphScene"},
    {kAlways, make<GreetingsScene>, isA<GreetingsScene>, "GreetingsScene"},
};

} // namespace

void addShowScenes(EffectTimeline& timeline, float startOffset)
{
    for (const SceneEntry& entry : kScenes)
        if (startOffset <= entry.lastOffset)
            timeline.add(entry.create());
}

std::string showSceneName(const Effect& scene)
{
    if (!scene.name.empty())
        return scene.name;
    for (const SceneEntry& entry : kScenes)
        if (entry.is(scene))
            return entry.name;
    return "(an unnamed effect)";
}
