#include "scenegraph/ParticleNode.h"

#include "core/FixedSteps.h"
#include "core/GL.h"
#include "particles/ParticleSystemReader.h"
#include "scenegraph/CameraManager.h"

void ParticleNode::update(float time)
{
    if (!system)
        return;
    if (lastTime == 0.0f || lastTime > time)
        lastTime = time - kFirstStep;
    system->update(time - lastTime);
    lastTime = time;
    localSphere = BoundingSphere::fromBox(system->boundsMin, system->boundsMax);
}

void ParticleNode::catchUp(float from, float to, float step)
{
    if (system)
        forEachStep(from, to, step, [this](float t) { update(t); });
}

void ParticleNode::drawSelf()
{
    if (!system)
        return;
    system->render(CameraManager::instance ? CameraManager::instance->current() : nullptr);
    glColor3f(1.0f, 1.0f, 1.0f);
}

SceneNode::LineResult ParticleNode::readOwnLine(SceneReadContext& context)
{
    if (!context.reader.contains("ParticleSystem {"))
        return LineResult::EndsBlock;
    system = readParticleSystem(context.reader, context.stream);
    return LineResult::Taken;
}
