#include "ParticleTestSupport.h"
#include "core/Random.h"

#include <gtest/gtest.h>

using ptest::read;
using ptest::systemText;

class ParticleReader : public ::testing::Test {
protected:
    ptest::Library materials;
};

TEST_F(ParticleReader, ReadsNameCapacityRateGeneratorOperatorsAndRenderer)
{
    auto system = read(systemText("Info anything \"at all\"\nName \"sparks\"\nMax 8\nSpawnRate 2.5\n",
                                  "Fire", "Lifespan 3\nParticleColor 1 0.5 0.25\n",
                                  "RadialForce {\nCenter 1 2 3\nRadius 2\nStrength -1\n}\n"
                                  "Force {\nDirection 0 0 2\nStrength 3\n}\nForceToVelocity\n"
                                  "ReflectionPlane {\nNormal 0 5 0\nBounciness 2\n}\n"
                                  "ReflectionSphere {\nPosition 0 1 0\nRadius 4\n}\n"));
    ASSERT_TRUE(system);
    EXPECT_EQ(system->name, "sparks");
    EXPECT_FLOAT_EQ(system->spawnRate, 2.5f);
    EXPECT_EQ(system->particles.capacity(), 8u);
    EXPECT_TRUE(system->particles.empty());  // Fire emits, it does not fill
    auto* fire = dynamic_cast<FireGenerator*>(system->generator.get());
    ASSERT_TRUE(fire);
    EXPECT_EQ(fire->flags, unsigned(ParticleGenerator::kEmit));
    EXPECT_FLOAT_EQ(fire->lifespan, 3.0f);
    EXPECT_FLOAT_EQ(fire->colour[1], 0.5f);
    ASSERT_TRUE(dynamic_cast<PointsRenderer*>(system->renderer.get()));
    EXPECT_EQ(system->renderer->material()->name, "white");

    // "RadialForce {" is not taken for the "Force {" it contains.
    ASSERT_EQ(system->operators.size(), 5u);
    auto* radial = dynamic_cast<RadialForce*>(system->operators[0].get());
    ASSERT_TRUE(radial);
    EXPECT_EQ(radial->centre, Vector3(1, 2, 3));
    EXPECT_FLOAT_EQ(radial->strength, -1.0f);
    auto* force = dynamic_cast<Force*>(system->operators[1].get());
    ASSERT_TRUE(force);
    EXPECT_EQ(force->direction, Vector3(0, 0, 1));
    EXPECT_FLOAT_EQ(force->strength, 3.0f);
    EXPECT_TRUE(dynamic_cast<ForceToVelocity*>(system->operators[2].get()));
    auto* plane = dynamic_cast<ReflectionPlane*>(system->operators[3].get());
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->normal, Vector3(0, 1, 0));
    EXPECT_EQ(plane->position, Vector3());  // numbers not given are 0
    auto* sphere = dynamic_cast<ReflectionSphere*>(system->operators[4].get());
    ASSERT_TRUE(sphere);
    EXPECT_FLOAT_EQ(sphere->radius, 4.0f);
    EXPECT_FLOAT_EQ(sphere->bounciness, 0.0f);
}

TEST_F(ParticleReader, GeneratorDefaultsFlagsAndKeywordOrder)
{
    // Each kind's random defaults are drawn when its reader starts: Fire's wind x, y, z; the
    // Sphere's speed, then its speed factor.
    show::resetRandom();
    auto fireSystem = read(systemText("Max 1\n", "Fire"));
    show::resetRandom();
    const float x = show::randomUnit(), y = show::randomUnit(), z = show::randomUnit();
    auto* fire = dynamic_cast<FireGenerator*>(fireSystem->generator.get());
    EXPECT_EQ(fire->windDirection, Vector3(x, y, z));
    EXPECT_FLOAT_EQ(fire->windDistort, 0.5f);
    EXPECT_FLOAT_EQ(fire->scaleSpeed, 0.0f);

    show::resetRandom();
    auto sphereSystem = read(systemText("Max 4\n", "Sphere", "Radius 2\nSpeedFactor 3\n"));
    show::resetRandom();
    const float speed = 0.1f + 0.9f * show::randomUnit();
    auto* sphere = dynamic_cast<SphereGenerator*>(sphereSystem->generator.get());
    EXPECT_FLOAT_EQ(sphere->speed, speed);
    EXPECT_FLOAT_EQ(sphere->speedFactor, 3.0f);  // not taken by "Speed "
    EXPECT_FLOAT_EQ(sphere->radius, 2.0f);
    // Without respawn a Sphere fills the pool once.
    EXPECT_EQ(sphere->flags, unsigned(ParticleGenerator::kFillAtStart));
    EXPECT_EQ(sphereSystem->particles.size(), 4u);

    auto smoke = read(systemText("Max 1\n", "Smoke", "Flags Respawn\nFlags None\n"));
    auto* smokeGenerator = dynamic_cast<SmokeGenerator*>(smoke->generator.get());
    EXPECT_TRUE(smokeGenerator->respawn);  // a later Flags line cannot switch it off
    EXPECT_FLOAT_EQ(smokeGenerator->scaleSpeed, 1.0f);
    EXPECT_EQ(smokeGenerator->windDirection, Vector3(0, -1, 0));

    // Mass variance and size variance are not taken for mass and size.
    auto bubble = read(systemText("Max 1\n", "Bubble",
                                  "MassVariance 4\nMass 2\nParticleSizeVariance 5\nParticleSize 3\n"
                                  "MaxDistance 7\nCenter 1 1 1\n"));
    auto* b = bubble->generator.get();
    EXPECT_FLOAT_EQ(b->massVariance, 4.0f);
    EXPECT_FLOAT_EQ(b->mass, 2.0f);
    EXPECT_FLOAT_EQ(b->sizeVariance, 5.0f);
    EXPECT_FLOAT_EQ(b->size, 3.0f);
    EXPECT_EQ(b->flags, 0u);  // no respawn: a Bubble never emits
    EXPECT_FLOAT_EQ(static_cast<BubbleGenerator*>(b)->maxDistance, 7.0f);

    auto sphereRespawn = read(systemText("Max 4\n", "Sphere", "Flags Respawn\n"));
    EXPECT_EQ(sphereRespawn->generator->flags, unsigned(ParticleGenerator::kEmit));
    EXPECT_TRUE(sphereRespawn->particles.empty());
}

TEST_F(ParticleReader, GeneratorBlockSkipsLinesBeforeItsType)
{
    auto system = read("Max 2\nGenerator {\nLifespan 9\nMax 7\nType \"Rain\"\nTop 50\n}\n"
                       "Renderer {\nType \"Lines\"\nShader \"white\"\n}\n}\n");
    ASSERT_TRUE(system);
    auto* rain = dynamic_cast<RainGenerator*>(system->generator.get());
    ASSERT_TRUE(rain);
    EXPECT_FLOAT_EQ(rain->lifespan, 1.0f);
    EXPECT_FLOAT_EQ(rain->top, 50.0f);
    EXPECT_EQ(system->particles.capacity(), 2u);
    EXPECT_TRUE(dynamic_cast<LinesRenderer*>(system->renderer.get()));
}

TEST_F(ParticleReader, GeneratorWithoutTypeConsumesTheStream)
{
    ScriptReader reader;
    std::istringstream in("Max 2\nGenerator {\nLifespan 2\n}\nRenderer {\nShader \"white\"\n}\n}\n"
                          "Next line\n");
    EXPECT_FALSE(readParticleSystem(reader, in));
    EXPECT_FALSE(reader.next(in));
}

TEST_F(ParticleReader, RefusedSystemsAndTheRestOfTheirBlock)
{
    const char* refused[] = {
        "Max 0\n",
        "Max -3\n",
        "Max 2000000000\n",  // reserving that many records would exhaust memory
        "SpawnRate -1\n",
        "Generator {\nType \"Snow\"\nLifespan 2\n}\n",
        "Generator {\nType \"\"\n}\n",
        "Renderer {\nType \"Points\"\nShader \"missing\"\n}\n",
        "Renderer {\nType \"Sprites\"\nShader \"white\"\n}\n",
        "Renderer {\nType \"\"\nShader \"white\"\n}\n",
        "Renderer {\nType \"Meshes\"\nShader \"white\"\nMesh \"\"\n}\n",
    };
    for (const char* lines : refused) {
        ScriptReader reader;
        std::istringstream in(std::string(lines) + "Max 2\nRenderer {\nType \"Points\"\n}\n}\nAfter\n");
        EXPECT_FALSE(readParticleSystem(reader, in)) << lines;
        // The rest of the system block is passed over, so the enclosing script reads on.
        ASSERT_TRUE(reader.next(in)) << lines;
        EXPECT_EQ(reader.line, "After") << lines;
    }
    // The material given back by a refused renderer leaves only the library's reference.
    EXPECT_EQ(materials.rendererReferences(), 0);
}

TEST_F(ParticleReader, SystemsMissingPiecesStayEmpty)
{
    for (const char* text : {"Max 3\nGenerator {\nType \"Sphere\"\n}\n}\n",
                             "Max 3\nRenderer {\nType \"Quads\"\nShader \"white\"\n}\n}\n",
                             "Generator {\nType \"Sphere\"\n}\nRenderer {\nType \"Quads\"\nShader \"white\"\n}\n}\n"}) {
        auto system = read(text);
        ASSERT_TRUE(system) << text;
        EXPECT_FALSE(system->generator);
        EXPECT_FALSE(system->renderer);
        system->update(0.1f);
        system->render(nullptr);
        EXPECT_TRUE(system->particles.empty());
    }
    EXPECT_EQ(materials.rendererReferences(), 0);
}

TEST_F(ParticleReader, OperatorBlockWithAStrangeLineIsLeftOut)
{
    auto system = read(systemText("Max 1\n", "Fire", "",
                                  "Force {\nDirection 0 1 0\nStrenght 3\nStrength 2\n}\n"
                                  "ReflectionSphere {\nRadius 1\n}\n"));
    ASSERT_TRUE(system);
    ASSERT_EQ(system->operators.size(), 1u);
    EXPECT_TRUE(dynamic_cast<ReflectionSphere*>(system->operators[0].get()));
    EXPECT_TRUE(system->renderer);
}

TEST_F(ParticleReader, EndOfStreamFinishesTheSystem)
{
    auto system = read("Max 5\nGenerator {\nType \"Sphere\"\n}\nRenderer {\nType \"StretchQuads\"\n"
                       "Shader \"white\"");
    ASSERT_TRUE(system);
    EXPECT_TRUE(dynamic_cast<StretchQuadsRenderer*>(system->renderer.get()));
    EXPECT_EQ(system->particles.size(), 5u);
    EXPECT_EQ(materials.rendererReferences(), 1);
    system.reset();
    EXPECT_EQ(materials.rendererReferences(), 0);
}
