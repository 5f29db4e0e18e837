#include "particles/ParticleSystem.h"

#include <algorithm>
#include <cstddef>

ParticleSystem::~ParticleSystem()
{
    while (!operators.empty())
        operators.pop_back();
    generator.reset();
    renderer.reset();
}

void ParticleSystem::finish(int max)
{
    if (max <= 0 || !generator || !renderer) {
        generator.reset();
        renderer.reset();
        return;
    }
    max = std::min(max, kParticleLimit);
    particles.reserve(std::size_t(max));
    spawnAccumulator = 0.0f;
    if (generator->flags & ParticleGenerator::kFillAtStart) {
        for (int i = 0; i < max; ++i) {
            Particle p;
            generator->spawn(p);
            particles.push_back(p);
        }
    }
}

void ParticleSystem::extendBounds(const Vector3& p)
{
    boundsMin = {std::min(boundsMin.x, p.x), std::min(boundsMin.y, p.y), std::min(boundsMin.z, p.z)};
    boundsMax = {std::max(boundsMax.x, p.x), std::max(boundsMax.y, p.y), std::max(boundsMax.z, p.z)};
}

void ParticleSystem::update(float step)
{
    if (!generator || !renderer)
        return;
    for (const auto& op : operators)
        op->apply(particles, step);

    if (generator->flags & ParticleGenerator::kEmit)
        spawnAccumulator += step * spawnRate;
    else
        spawnAccumulator = 0.0f;

    // An empty pool starts the box at the first particle born.
    bool bounded = !particles.empty();
    if (bounded)
        boundsMin = boundsMax = particles.front().position;
    else
        boundsMin = boundsMax = Vector3{};
    auto extend = [&](const Vector3& p) {
        if (bounded) {
            extendBounds(p);
        } else {
            boundsMin = boundsMax = p;
            bounded = true;
        }
    };

    // Births this update; the comparison also keeps a NaN or a huge accumulator out of the
    // conversion.
    int births = 0;
    if (spawnAccumulator >= 1.0f)
        births = spawnAccumulator < float(kParticleLimit) ? int(spawnAccumulator) : kParticleLimit;

    // Living particles step, dead ones are reborn in place while births are left, the rest are
    // dropped; survivors move down over the gaps in order.
    ParticleGenerator& g = *generator;
    std::size_t kept = 0;
    const std::size_t count = particles.size();
    for (std::size_t i = 0; i < count; ++i) {
        Particle& p = particles[i];
        if (p.life > 0.0f) {
            g.step(p, step);
        } else if (births > 0) {
            g.spawn(p);
            spawnAccumulator -= 1.0f;
            --births;
        } else {
            continue;
        }
        extend(p.position);
        if (kept != i)
            particles[kept] = p;
        ++kept;
    }
    particles.resize(kept);

    // All but one of the births left over become new particles at the end of the pool.
    const int room = kParticleLimit - int(particles.size());
    const int added = std::min(births - 1, room);
    for (int i = 0; i < added; ++i) {
        Particle p;
        g.spawn(p);
        extend(p.position);
        spawnAccumulator -= 1.0f;
        particles.push_back(p);
    }
}

void ParticleSystem::render(const Camera* camera)
{
    if (particles.empty() || !renderer)
        return;
    renderer->begin(camera);
    for (const Particle& p : particles) {
        if (p.life > 0.0f)
            renderer->draw(p);
    }
    renderer->end();
}
