// A pool of particles with one generator, an ordered list of operators and one renderer,
// stepped by the elapsed seconds and drawn every frame. The pool keeps birth order: dead
// particles are reborn in place while the spawn accumulator allows, else removed with the
// survivors keeping their order.
#pragma once
#include "math/Vector3.h"
#include "particles/Particle.h"
#include "particles/ParticleGenerator.h"
#include "particles/ParticleOperator.h"
#include "particles/ParticleRenderer.h"

#include <memory>
#include <string>
#include <vector>

class Camera;

class ParticleSystem {
public:
    // The most particles a pool holds: a "Max " above it is refused when read, and a spawn rate
    // that would grow the pool past it adds no more particles (92 bytes each: 96 MiB in all).
    static constexpr int kParticleLimit = 1 << 20;

    ParticleSystem() = default;
    // Destroys the operators from the last to the first, then the generator and the renderer.
    virtual ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // One step of `step` seconds: the operators, the spawn accumulator, the generator's step for
    // the living and births for the dead, the bounds. Nothing without a generator or renderer.
    virtual void update(float step);
    // The renderer's begin, draw for every living particle in pool order, end; nothing when the
    // pool is empty or there is no renderer.
    virtual void render(const Camera* camera);

    // Completes a system its reader has filled: reserves `max` records, zeroes the accumulator
    // and, when the generator fills at start, creates `max` particles. With max ≤ 0 or without
    // generator or renderer the system drops both and stays empty.
    void finish(int max);

    std::string name;
    float spawnRate = 0.0f;    // particles per second
    float spawnAccumulator = 0.0f;
    std::vector<Particle> particles;
    std::vector<std::unique_ptr<ParticleOperator>> operators;
    std::unique_ptr<ParticleGenerator> generator;
    std::unique_ptr<ParticleRenderer> renderer;
    // The box of the particle positions, recomputed by every update.
    Vector3 boundsMin;
    Vector3 boundsMax;

private:
    void extendBounds(const Vector3& p);
};
