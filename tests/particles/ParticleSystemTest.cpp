#include "ParticleTestSupport.h"
#include "core/Random.h"

#include <gtest/gtest.h>

#include <cmath>

using ptest::read;
using ptest::systemText;

class ParticleSimulation : public ::testing::Test {
protected:
    void SetUp() override { show::resetRandom(); }
    ptest::Library materials;
};

TEST_F(ParticleSimulation, SpawnAccumulatorAtRateTenInSteps)
{
    // Long-lived Fire particles: nothing dies while the pool grows.
    auto system = read(systemText("Max 1\nSpawnRate 10\n", "Fire", "Lifespan 100\nEnergySpeed 0\n"));
    ASSERT_TRUE(system);
    const float expectedAccumulator[] = {0.5f, 1.0f, 1.5f, 1.0f, 1.5f, 1.0f};
    const std::size_t expectedSize[] = {0, 0, 0, 1, 1, 2};
    for (int i = 0; i < 6; ++i) {
        system->update(0.05f);
        EXPECT_NEAR(system->spawnAccumulator, expectedAccumulator[i], 1e-5f) << "step " << i;
        EXPECT_EQ(system->particles.size(), expectedSize[i]) << "step " << i;
    }
    for (int i = 0; i < 194; ++i) {
        system->update(0.05f);
        ASSERT_GE(system->spawnAccumulator, 0.99f);
        ASSERT_LT(system->spawnAccumulator, 2.0f);
    }
    // Ten seconds at about ten a second, past the one the pool was reserved for.
    EXPECT_NEAR(double(system->particles.size()), 100.0, 2.0);
}

TEST_F(ParticleSimulation, SphereWithoutRespawnIsNeverRefilled)
{
    auto system = read(systemText("Max 6\nSpawnRate 100\n", "Sphere", "Lifespan 0.25\nEnergySpeed 0\nScaleSpeed 0\n"));
    ASSERT_EQ(system->particles.size(), 6u);
    system->update(0.1f);
    EXPECT_EQ(system->particles.size(), 6u);
    system->update(0.2f);  // all die in this step
    EXPECT_EQ(system->particles.size(), 6u);
    system->update(0.1f);
    EXPECT_TRUE(system->particles.empty());
    system->update(0.1f);
    EXPECT_TRUE(system->particles.empty());
    EXPECT_FLOAT_EQ(system->spawnAccumulator, 0.0f);
}

TEST_F(ParticleSimulation, BubbleWithoutRespawnNeverEmits)
{
    auto system = read(systemText("Max 6\nSpawnRate 100\n", "Bubble", "Flags None\n"));
    for (int i = 0; i < 10; ++i)
        system->update(0.1f);
    EXPECT_TRUE(system->particles.empty());
    auto emitting = read(systemText("Max 6\nSpawnRate 100\n", "Bubble", "Flags Respawn\n"));
    emitting->update(0.1f);
    EXPECT_EQ(emitting->particles.size(), 9u);  // ten births, less one
}

TEST_F(ParticleSimulation, RainLivesUntilBelowTheBottomWhateverItsLifespan)
{
    auto system = read(systemText("Max 1\nSpawnRate 20\n", "Rain",
                                  "Lifespan 0.01\nTop 10\nBottom 0\nSpeed 10\nRadius 5\n"));
    system->update(0.1f);  // two births: one new particle
    ASSERT_EQ(system->particles.size(), 1u);
    system->spawnRate = 0.0f;
    system->spawnAccumulator = 0.0f;
    const Particle& p = system->particles[0];
    EXPECT_FLOAT_EQ(p.position.y, 10.0f);
    EXPECT_LE(std::fabs(p.position.x), 5.0f);
    EXPECT_LE(std::fabs(p.position.z), 5.0f);
    // It falls 0.1 × (fall speed + 1) per update, from 0.2 to 11 units a second.
    int updates = 0;
    while (!system->particles.empty() && updates < 1000) {
        const float y = system->particles[0].position.y;
        system->update(0.1f);
        ++updates;
        if (system->particles.empty())
            break;
        if (system->particles[0].life > 0.0f) {
            ASSERT_GE(system->particles[0].position.y, 0.0f) << "alive below the bottom";
        } else {
            EXPECT_LT(system->particles[0].position.y, 0.0f);
            EXPECT_LT(system->particles[0].position.y, y);
        }
    }
    EXPECT_GT(updates, 5);  // well past its lifespan of 0.01 s
    EXPECT_LT(updates, 1000);
}

TEST_F(ParticleSimulation, DeadParticlesAreRebornInPlaceOrRemovedKeepingOrder)
{
    auto system = read(systemText("Max 5\n", "Sphere", "Lifespan 10\nEnergySpeed 0\n"));
    ASSERT_EQ(system->particles.size(), 5u);
    // Tag each particle by its lifespan and kill the second and fourth.
    for (int i = 0; i < 5; ++i)
        system->particles[i].lifespan = float(i);
    system->particles[1].life = 0.0f;
    system->particles[3].life = -1.0f;
    system->update(0.01f);
    ASSERT_EQ(system->particles.size(), 3u);
    EXPECT_FLOAT_EQ(system->particles[0].lifespan, 0.0f);
    EXPECT_FLOAT_EQ(system->particles[1].lifespan, 2.0f);
    EXPECT_FLOAT_EQ(system->particles[2].lifespan, 4.0f);

    // With births to give, a dead particle is reborn where it lies.
    auto emitting = read(systemText("Max 1\nSpawnRate 10\n", "Smoke", "Lifespan 5\nEnergySpeed 0\n"));
    emitting->update(0.3f);  // three births: two new particles
    ASSERT_EQ(emitting->particles.size(), 2u);
    emitting->particles[0].lifespan = 42.0f;
    emitting->particles[0].life = 0.0f;
    emitting->particles[1].lifespan = 7.0f;
    emitting->update(0.1f);  // accumulator 2: one rebirth, nothing new
    ASSERT_EQ(emitting->particles.size(), 2u);
    EXPECT_FLOAT_EQ(emitting->particles[0].lifespan, 5.0f);
    EXPECT_FLOAT_EQ(emitting->particles[0].life, 5.0f);  // not stepped in its birth update
    EXPECT_FLOAT_EQ(emitting->particles[1].lifespan, 7.0f);
}

TEST_F(ParticleSimulation, FadedParticleDiesAtTheEndOfItsStep)
{
    auto system = read(systemText("Max 1\n", "Sphere", "Lifespan 10\nEnergySpeed 1\n"));
    Particle& p = system->particles[0];
    p.energy = 0.05f;
    system->update(0.1f);
    ASSERT_EQ(system->particles.size(), 1u);
    EXPECT_LT(system->particles[0].energy, 0.0f);
    EXPECT_FLOAT_EQ(system->particles[0].life, 0.0f);
    EXPECT_FLOAT_EQ(system->particles[0].alpha, system->particles[0].energy);
    system->update(0.1f);
    EXPECT_TRUE(system->particles.empty());
}

TEST_F(ParticleSimulation, SphereSpawnDrawsInOrderAndBoundsFollowThePositions)
{
    auto system = read(systemText("Max 1\n", "Sphere",
                                  "Radius 2\nCenter 1 2 3\nSpeed 1\nSpeedFactor 0.5\nMass 2\n"
                                  "MassVariance 1\nParticleSizeVariance 4\n"));
    show::resetRandom();
    show::randomUnit();  // the reader's random speed
    show::randomUnit();  // and speed factor
    Vector3 d;
    d.z = 2 * show::randomUnit() - 1;
    d.y = 2 * show::randomUnit() - 1;
    d.x = 2 * show::randomUnit() - 1;
    d.normalize();
    const float u = show::randomUnit();
    const float mass = (0.5f - show::randomUnit()) * 1.0f + 2.0f;
    const float size = show::randomUnit() * 4.0f + 1.0f;
    const float energy = 0.1f + 0.9f * show::randomUnit();
    const Particle& p = system->particles[0];
    EXPECT_NEAR(p.position.x, 1 + 2 * d.x, 1e-5f);
    EXPECT_NEAR(p.position.y, 2 + 2 * d.y, 1e-5f);
    EXPECT_NEAR(p.position.z, 3 + 2 * d.z, 1e-5f);
    EXPECT_EQ(p.previousPosition, p.position);
    const float speed = (u + 0.5f) * 0.5f + 1.0f;
    EXPECT_NEAR(p.velocity.x, speed * d.x, 1e-5f);
    EXPECT_FLOAT_EQ(p.mass, mass);
    EXPECT_FLOAT_EQ(p.inverseMass, 1.0f / mass);
    EXPECT_FLOAT_EQ(p.size, size);
    EXPECT_FLOAT_EQ(p.energy, energy);
    EXPECT_EQ(p.flags, 0u);

    const Vector3 before = p.position;
    system->update(0.5f);
    const Vector3 after = system->particles[0].position;
    EXPECT_NEAR(after.x, before.x + 0.5f * p.velocity.x, 1e-5f);
    // The box spans the first particle's position before its step and every position after.
    EXPECT_FLOAT_EQ(system->boundsMin.x, std::min(before.x, after.x));
    EXPECT_FLOAT_EQ(system->boundsMax.x, std::max(before.x, after.x));
    EXPECT_FLOAT_EQ(system->boundsMax.y, std::max(before.y, after.y));
}

TEST_F(ParticleSimulation, NanOrHugeSpawnRatesStayBounded)
{
    for (const char* rate : {"SpawnRate nan\n", "SpawnRate 1e30\n"}) {
        auto system = read(systemText(std::string("Max 1\n") + rate, "Fire"));
        ASSERT_TRUE(system) << rate;
        system->update(0.1f);
        EXPECT_LE(system->particles.size(), std::size_t(ParticleSystem::kParticleLimit)) << rate;
    }
}

// Operators ----------------------------------------------------------------------------------

TEST(ParticleOperators, ForceAddsDirectionTimesStepAndStrength)
{
    Force force;
    force.direction = {0, 0, 1};
    force.strength = 3;
    Particle p;
    force.apply(p, 0.5f);
    force.apply(p, 0.5f);
    EXPECT_EQ(p.force, Vector3(0, 0, 3));

    ForceToVelocity toVelocity;
    p.inverseMass = 0.5f;
    toVelocity.apply(p, 0.1f);
    EXPECT_NEAR(p.velocity.z, 0.15f, 1e-6f);
}

TEST(ParticleOperators, RadialForceReachesRadiusSquared)
{
    RadialForce radial;
    radial.centre = {1, 0, 0};
    radial.radius = 2;
    radial.strength = -2;
    Particle near, far, centre;
    near.position = {4.5f, 0, 0};  // 3.5 away: outside 2, inside 4
    far.position = {5.5f, 0, 0};
    centre.position = {1, 0, 0};
    Particle pool[] = {near, far, centre};
    radial.apply(pool, 1.0f);
    EXPECT_EQ(pool[0].force, Vector3(-2, 0, 0));  // constant magnitude, towards the centre
    EXPECT_EQ(pool[1].force, Vector3());
    EXPECT_EQ(pool[2].force, Vector3());
}

TEST(ParticleOperators, ReflectionPlaneActsOnlyBehindThePlane)
{
    ReflectionPlane plane;
    plane.position = {0, 1, 0};
    plane.normal = {0, 1, 0};
    plane.bounciness = 2;
    Particle on, front, behind;
    on.position = {5, 1, 0};
    on.velocity = {1, -3, 0};
    front.position = {0, 2, 0};
    front.velocity = {0, -4, 1};
    behind.position = {0, 0.5f, 0};
    behind.velocity = {1, -2, 0};
    Particle pool[] = {on, front, behind};
    plane.apply(pool, 0.1f);
    EXPECT_EQ(pool[0].velocity, on.velocity);
    EXPECT_EQ(pool[0].position, on.position);
    EXPECT_EQ(pool[1].velocity, front.velocity);
    EXPECT_EQ(pool[2].velocity, Vector3(1, 2, 0));     // mirrored
    EXPECT_EQ(pool[2].position, Vector3(0, 1.5f, 0));  // moved back by 2 × 0.5
}

TEST(ParticleOperators, ReflectionSpherePushesOutByTheSquaredDifference)
{
    ReflectionSphere sphere;
    sphere.radius = 2;
    sphere.bounciness = 1;
    Particle inside, outside;
    inside.position = {0, 1, 0};
    inside.velocity = {1, -3, 0};
    outside.position = {0, 3, 0};
    outside.velocity = {0, -1, 0};
    Particle pool[] = {inside, outside};
    sphere.apply(pool, 0.1f);
    EXPECT_EQ(pool[0].velocity, Vector3(1, 0, 0));     // the outward part removed
    EXPECT_EQ(pool[0].position, Vector3(0, 4, 0));     // 1 + (4 − 1)
    EXPECT_EQ(pool[1].position, outside.position);
    EXPECT_EQ(pool[1].velocity, outside.velocity);
}
