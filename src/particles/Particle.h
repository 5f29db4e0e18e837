// One particle as the pool stores it: 23 packed 32-bit fields, copied by value. The defaults
// are the fresh record a generator's spawn starts from; a reused record keeps whatever its
// kind's spawn does not write.
#pragma once
#include "math/Vector3.h"

#include <cstdint>
#include <type_traits>

struct Particle {
    std::uint32_t flags = 0;  // 1 when the generator respawns, else 0
    float energy = 0.0f;
    float mass = 1.0f;
    float inverseMass = 1.0f;
    float size = 1.0f;       // billboard half-size
    float life = 0.0f;       // seconds left; alive while above 0
    float lifespan = 0.0f;   // life at birth
    Vector3 position;
    Vector3 previousPosition;  // before the last move (line and stretched-quad renderers)
    Vector3 velocity;
    Vector3 force;             // summed by the force operators, cleared by the generator's step
    float colour[3] = {1.0f, 1.0f, 1.0f};
    float alpha = 1.0f;

    bool alive() const { return life > 0.0f; }
};

static_assert(sizeof(Particle) == 23 * 4 && std::is_standard_layout_v<Particle>,
              "the pool holds packed records of 23 words");
