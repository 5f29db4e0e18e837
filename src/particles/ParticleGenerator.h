// Generators give particles their birth values and move them each step. Five kinds: Bubble
// (rises from a centre and ages only beyond a distance), Fire and Smoke (plumes that shrink or
// grow while their energy fades), Rain (falls from a square of sky until below a floor) and
// Sphere (a shell flying out of a centre). Every random number comes from the show's one
// generator, in a fixed order per particle, so a show replays the same way.
#pragma once
#include "math/Vector3.h"
#include "particles/Particle.h"
#include "script/ScriptReader.h"

#include <istream>
#include <memory>

class ParticleGenerator {
public:
    enum Flags : unsigned {
        kFillAtStart = 0x1,  // the pool gets Max particles when the system is built
        kEmit = 0x2,         // new particles come continuously at the spawn rate
    };

    virtual ~ParticleGenerator() = default;
    // Writes a newborn particle into `particle` (a fresh record or a dead one reused in place).
    virtual void spawn(Particle& particle) = 0;
    // Moves a living particle on by `step` seconds.
    virtual void step(Particle& particle, float step) = 0;

    unsigned flags = 0;

    // What every kind reads ("Flags ", "Lifespan ", "MassVariance ", "Mass ",
    // "ParticleSizeVariance ", "ParticleSize ", "ParticleColor ").
    bool respawn = false;
    float lifespan = 1.0f;
    float mass = 1.0f;
    float massVariance = 0.0f;
    float size = 1.0f;
    float sizeVariance = 0.0f;
    float colour[3] = {1.0f, 1.0f, 1.0f};

protected:
    // The part of a birth every kind shares; it draws the mass, then the size.
    void spawnCommon(Particle& particle) const;
};

class BubbleGenerator final : public ParticleGenerator {
public:
    void spawn(Particle& particle) override;
    void step(Particle& particle, float step) override;

    float maxDistance = 100.0f;
    float windDistort = 0.0f;
    Vector3 windDirection{0.0f, -1.0f, 0.0f};
    Vector3 centre;
};

// Fire and smoke read the same parameters; their defaults and motion differ.
class PlumeGenerator : public ParticleGenerator {
public:
    float scaleSpeed = 0.0f;
    float energySpeed = 1.0f;
    float windDistort = 0.0f;
    Vector3 windDirection{0.0f, -1.0f, 0.0f};
    Vector3 centre;
};

class FireGenerator final : public PlumeGenerator {
public:
    // Draws the random wind direction (x, y, z).
    FireGenerator();
    void spawn(Particle& particle) override;
    void step(Particle& particle, float step) override;
};

class SmokeGenerator final : public PlumeGenerator {
public:
    SmokeGenerator();
    void spawn(Particle& particle) override;
    void step(Particle& particle, float step) override;
};

class RainGenerator final : public ParticleGenerator {
public:
    RainGenerator() { respawn = true; }
    void spawn(Particle& particle) override;
    void step(Particle& particle, float step) override;

    float radius = 100.0f;
    float top = 100.0f;
    float bottom = 0.0f;
    float speed = 9.81f;
    float windDistort = 0.0f;
    Vector3 windDirection{0.0f, -1.0f, 0.0f};
};

class SphereGenerator final : public ParticleGenerator {
public:
    // Draws the random speed, then the random speed factor.
    SphereGenerator();
    void spawn(Particle& particle) override;
    void step(Particle& particle, float step) override;

    float scaleSpeed = 1.0f;
    float energySpeed = 1.0f;
    float radius = 1.0f;
    float speed = 0.0f;
    float speedFactor = 0.0f;
    Vector3 centre;
};

// Three draws z, y, x in 0..1, normalised: a direction in the octant of positive axes.
Vector3 randomDirection();

// Reads a "Generator {" block, the opening line already consumed. Lines before the first line
// holding "Type" are passed over (to the end of the stream if there is none); the quoted kind
// picks the generator, whose defaults are drawn now and whose own keywords are read up to the
// closing "}". None for a missing, empty or unknown kind (the rest of the block is then passed
// over and the reason logged).
std::unique_ptr<ParticleGenerator> readParticleGenerator(ScriptReader& reader, std::istream& stream);
