#include "effects/ParticleEffect.h"

#include "effects/CameraView.h"
#include "particles/ParticleSystemReader.h"

void ParticleEffect::update(float time)
{
    if (lastTime <= 0.0f)
        lastTime = time - kFirstStep;
    lastStep = time - lastTime;
    lastTime = time;
    if (system)
        system->update(lastStep);
}

void ParticleEffect::catchUp(float time, float step) { stepFromStart(time, step); }

void ParticleEffect::render()
{
    if (!system)
        return;
    const CameraView view;
    if (view.camera())
        system->render(view.camera());
}

namespace {

using Kind = EffectKind<ParticleEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"ParticleSystem {", [](ScriptReader& r, std::istream& stream, ParticleEffect& e) {
         e.system = readParticleSystem(r, stream);
         return true;
     }},
};

} // namespace

std::unique_ptr<EffectType> makeParticleEffectType()
{
    return std::make_unique<Kind>("Particle", kKeywords);
}
