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

// Each scene with the last start offset at which it is still built.
struct SceneEntry {
    float lastOffset;
    std::unique_ptr<Effect> (*create)();
};

constexpr float kAlways = std::numeric_limits<float>::infinity();

constexpr SceneEntry kScenes[] = {
    {43.467f, make<Introduction>},     {127.802f, make<WaterSimulation>}, {174.056f, make<TunnelScene>},
    {212.88f, make<DirtyCellar>},      {229.041f, make<GeometricWorld>},  {261.549f, make<Vizidedar>},
    {kAlways, make<AlienMorphScene>},  {kAlways, make<GreetingsScene>},
};

} // namespace

void addShowScenes(EffectTimeline& timeline, float startOffset)
{
    for (const SceneEntry& entry : kScenes)
        if (startOffset <= entry.lastOffset)
            timeline.add(entry.create());
}
