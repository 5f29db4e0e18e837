// Operators act on every particle once per update, in script order: forces add to a particle's
// force, ForceToVelocity turns the force into velocity, and the reflections bounce particles
// off a plane or out of a sphere. Units are per step: a force adds direction × step × strength
// and ForceToVelocity multiplies by the step once more.
#pragma once
#include "math/Vector3.h"
#include "particles/Particle.h"
#include "script/ScriptReader.h"

#include <istream>
#include <memory>
#include <span>
#include <string>

class ParticleOperator {
public:
    virtual ~ParticleOperator() = default;
    // Acts on each particle of the pool, in order.
    virtual void apply(std::span<Particle> particles, float step) const = 0;
    void apply(Particle& particle, float step) const { apply(std::span<Particle>(&particle, 1), step); }
};

// Gives a kind the pool loop around its per-particle rule `act`, which the compiler inlines.
template <class Kind>
class OperatorKind : public ParticleOperator {
public:
    using ParticleOperator::apply;
    void apply(std::span<Particle> particles, float step) const final
    {
        const Kind& kind = static_cast<const Kind&>(*this);
        for (Particle& p : particles)
            kind.act(p, step);
    }
};

class Force final : public OperatorKind<Force> {
public:
    void act(Particle& p, float step) const { p.force += direction * (step * strength); }

    Vector3 direction;  // unit length once read
    float strength = 0.0f;
};

// A push of constant magnitude away from the centre (towards it when the strength is negative)
// on particles whose distance from the centre is below radius² — the square, so a radius of 2
// reaches 4 units out.
class RadialForce final : public OperatorKind<RadialForce> {
public:
    void act(Particle& p, float step) const
    {
        const Vector3 d = p.position - centre;
        const float l = d.length();
        if (l > 0.0f && l < radius * radius)
            p.force += d * (strength / l);
    }

    Vector3 centre;
    float radius = 0.0f;
    float strength = 0.0f;
};

class ForceToVelocity final : public OperatorKind<ForceToVelocity> {
public:
    void act(Particle& p, float step) const { p.velocity += p.force * (p.inverseMass * step); }
};

// Particles behind the plane lose bounciness × the normal part of their velocity (2 mirrors it,
// 1 removes it) and are moved back towards the front by bounciness × their depth.
class ReflectionPlane final : public OperatorKind<ReflectionPlane> {
public:
    void act(Particle& p, float) const
    {
        const float a = dot(p.position - position, normal);
        if (a < 0.0f) {
            p.velocity -= normal * (dot(p.velocity, normal) * bounciness);
            p.position -= normal * (a * bounciness);
        }
    }

    Vector3 position;
    Vector3 normal;  // unit length once read
    float bounciness = 0.0f;
};

// Particles inside the sphere lose bounciness × the outward part of their velocity and are
// pushed out by bounciness × (radius² − squared distance).
class ReflectionSphere final : public OperatorKind<ReflectionSphere> {
public:
    void act(Particle& p, float) const
    {
        const Vector3 diff = p.position - position;
        const float b = radius * radius - dot(diff, diff);
        if (b > 0.0f) {
            const Vector3 n = diff.normalized();
            p.velocity -= n * (dot(n, p.velocity) * bounciness);
            p.position += n * (b * bounciness);
        }
    }

    Vector3 position;
    float radius = 0.0f;
    float bounciness = 0.0f;
};

// The keyword that starts the operator on `line` ("RadialForce {" before "Force {", which it
// contains; "ForceToVelocity" is a line of its own); null when the line starts none.
const char* operatorKeyword(const std::string& line);
// Reads the operator that reader.line starts (the block's lines, up to its "}"). None, with the
// rest of the block passed over and the reason logged, when a line of the block matches none of
// the kind's keywords, or when the line starts no operator.
std::unique_ptr<ParticleOperator> readParticleOperator(ScriptReader& reader, std::istream& stream);
