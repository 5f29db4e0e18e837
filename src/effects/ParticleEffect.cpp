#include "effects/ParticleEffect.h"

#include "core/GL.h"
#include "particles/ParticleSystemReader.h"
#include "scenegraph/Camera.h"
#include "scenegraph/CameraManager.h"

void ParticleEffect::update(float time)
{
    if (lastTime <= 0.0f)
        lastTime = time - kFirstStep;
    lastStep = time - lastTime;
    lastTime = time;
    if (system)
        system->update(lastStep);
}

void ParticleEffect::render()
{
    CameraManager* manager = CameraManager::instance;
    Camera* camera = manager ? manager->current() : nullptr;
    if (!system || !camera)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    camera->setViewport(manager->viewportWidth, manager->viewportHeight);
    camera->applyView();
    system->render(camera);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
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
