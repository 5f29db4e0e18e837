#include "particles/ParticleGenerator.h"

#include "core/Random.h"
#include "particles/ParticleScript.h"

#include <string>

using particles::Keyword;
using show::randomUnit;

namespace {

// 0.1 .. 1: the random birth energy of the fading kinds.
float randomEnergy() { return 0.1f + 0.9f * randomUnit(); }

// The sideways wobble of the plume and rain kinds: k times the direction's x and z.
Vector3 sideways(const Vector3& d, float k) { return {k * d.x, 0.0f, k * d.z}; }

// Energy or size below zero ends a fading particle at the end of its step.
void dieWhenFaded(Particle& p)
{
    if (p.energy < 0.0f || p.size < 0.0f)
        p.life = 0.0f;
}

} // namespace

Vector3 randomDirection()
{
    Vector3 d;
    d.z = randomUnit();
    d.y = randomUnit();
    d.x = randomUnit();
    d.normalize();
    return d;
}

void ParticleGenerator::spawnCommon(Particle& p) const
{
    p.colour[0] = colour[0];
    p.colour[1] = colour[1];
    p.colour[2] = colour[2];
    p.alpha = 1.0f;
    p.force = {};
    p.life = lifespan;
    p.lifespan = lifespan;
    p.mass = (0.5f - randomUnit()) * massVariance + mass;
    p.inverseMass = 1.0f / p.mass;
    p.size = randomUnit() * sizeVariance + size;
    p.flags = respawn ? 1u : 0u;
}

// Bubble ------------------------------------------------------------------------------------

void BubbleGenerator::spawn(Particle& p)
{
    const Vector3 d = randomDirection();
    spawnCommon(p);
    p.position = centre;
    p.velocity = windDistort * d + windDirection;
    p.energy = 1.0f;
}

void BubbleGenerator::step(Particle& p, float t)
{
    const Vector3 d = randomDirection();
    p.velocity += t * (windDistort * d + windDirection);
    p.previousPosition = p.position;
    p.position += p.velocity;  // per step, not per second
    if (distance(centre, p.position) > maxDistance)
        p.life -= 2.0f * t;
    p.force = {};
    p.alpha = p.energy;
}

// Fire --------------------------------------------------------------------------------------

FireGenerator::FireGenerator()
{
    respawn = true;
    windDistort = 0.5f;
    windDirection.x = randomUnit();
    windDirection.y = randomUnit();
    windDirection.z = randomUnit();
}

void FireGenerator::spawn(Particle& p)
{
    Vector3 e;  // raw draws, not normalised
    e.z = randomUnit();
    e.y = randomUnit();
    e.x = randomUnit();
    p.energy = randomEnergy();
    spawnCommon(p);
    p.position = centre;
    p.velocity = windDistort * e + windDirection;
}

void FireGenerator::step(Particle& p, float t)
{
    const Vector3 d = randomDirection();
    const float k = (randomUnit() - 0.5f) * windDistort;
    p.previousPosition = p.position;
    p.position += t * p.velocity + sideways(d, k);
    p.size -= t * scaleSpeed;
    p.energy -= t * energySpeed;
    p.life -= t;
    dieWhenFaded(p);
    p.force = {};
    p.alpha = p.energy;
}

// Smoke -------------------------------------------------------------------------------------

SmokeGenerator::SmokeGenerator()
{
    respawn = true;
    scaleSpeed = 1.0f;
}

void SmokeGenerator::spawn(Particle& p)
{
    const Vector3 d = randomDirection();
    const float k = randomUnit() * windDistort;
    spawnCommon(p);
    p.energy = randomEnergy();
    p.position = centre;
    p.previousPosition = centre;
    p.velocity = k * d + windDirection;
}

void SmokeGenerator::step(Particle& p, float t)
{
    const Vector3 d = randomDirection();
    const float k = (randomUnit() - 0.5f) * windDistort;
    p.previousPosition = p.position;
    p.size += t * scaleSpeed;  // smoke grows
    p.position += t * p.velocity + sideways(d, k);
    p.life -= t;
    p.energy -= t * energySpeed;
    dieWhenFaded(p);
    p.force = {};
    p.alpha = p.energy;
}

// Rain --------------------------------------------------------------------------------------

void RainGenerator::spawn(Particle& p)
{
    const float a = 2.0f * randomUnit() - 1.0f;
    const float c = 2.0f * randomUnit() - 1.0f;
    const float s = randomUnit();
    spawnCommon(p);
    p.position = {c * radius, top, a * radius};
    p.velocity = {0.0f, -0.1f - s * (speed - 0.1f), 0.0f};
    p.energy = 1.0f;
}

void RainGenerator::step(Particle& p, float t)
{
    const Vector3 d = randomDirection();
    const float k = (2.0f * randomUnit() - 1.0f) * windDistort;
    p.previousPosition = p.position;
    p.position += t * (p.velocity + windDirection) + sideways(d, k);
    p.force = {};
    // Rain does not age: it falls until it passes the floor.
    if (p.energy < 0.0f || p.size < 0.0f || p.position.y < bottom)
        p.life = 0.0f;
    p.alpha = p.energy;
}

// Sphere ------------------------------------------------------------------------------------

SphereGenerator::SphereGenerator()
{
    speed = 0.1f + 0.9f * randomUnit();
    speedFactor = 0.1f + 0.25f * randomUnit();
}

void SphereGenerator::spawn(Particle& p)
{
    Vector3 d;
    d.z = 2.0f * randomUnit() - 1.0f;
    d.y = 2.0f * randomUnit() - 1.0f;
    d.x = 2.0f * randomUnit() - 1.0f;
    d.normalize();
    const float u = randomUnit();
    spawnCommon(p);
    p.energy = randomEnergy();
    p.position = centre + radius * d;
    p.previousPosition = p.position;
    p.velocity = ((u + 0.5f) * speedFactor + speed) * d;
}

void SphereGenerator::step(Particle& p, float t)
{
    p.size += t * scaleSpeed;
    p.previousPosition = p.position;
    p.position += t * p.velocity;
    p.life -= t;
    p.energy -= t * energySpeed;
    dieWhenFaded(p);
    p.alpha = p.energy;
    p.force = {};
}

// Reading -----------------------------------------------------------------------------------

namespace {

void readVector(const std::string& line, Vector3& v) { scanFloats(line, v.x, v.y, v.z); }

constexpr Keyword<ParticleGenerator> kCommonKeywords[] = {
    {"Flags ", [](const std::string& l, ParticleGenerator& g) {
         if (ScriptReader::contains(l, "Respawn"))
             g.respawn = true;
     }},
    {"Lifespan ", [](const std::string& l, ParticleGenerator& g) { scanFloats(l, g.lifespan); }},
    {"MassVariance ", [](const std::string& l, ParticleGenerator& g) { scanFloats(l, g.massVariance); }},
    {"Mass ", [](const std::string& l, ParticleGenerator& g) { scanFloats(l, g.mass); }},
    {"ParticleSizeVariance ", [](const std::string& l, ParticleGenerator& g) { scanFloats(l, g.sizeVariance); }},
    {"ParticleSize ", [](const std::string& l, ParticleGenerator& g) { scanFloats(l, g.size); }},
    {"ParticleColor ", [](const std::string& l, ParticleGenerator& g) {
         scanFloats(l, g.colour[0], g.colour[1], g.colour[2]);
     }},
};

constexpr Keyword<BubbleGenerator> kBubbleKeywords[] = {
    {"MaxDistance ", [](const std::string& l, BubbleGenerator& g) { scanFloats(l, g.maxDistance); }},
    {"WindDistortFactor ", [](const std::string& l, BubbleGenerator& g) { scanFloats(l, g.windDistort); }},
    {"WindDirection ", [](const std::string& l, BubbleGenerator& g) { readVector(l, g.windDirection); }},
    {"Center ", [](const std::string& l, BubbleGenerator& g) { readVector(l, g.centre); }},
};

constexpr Keyword<PlumeGenerator> kPlumeKeywords[] = {
    {"ScaleSpeed ", [](const std::string& l, PlumeGenerator& g) { scanFloats(l, g.scaleSpeed); }},
    {"EnergySpeed ", [](const std::string& l, PlumeGenerator& g) { scanFloats(l, g.energySpeed); }},
    {"WindDistortFactor ", [](const std::string& l, PlumeGenerator& g) { scanFloats(l, g.windDistort); }},
    {"WindDirection ", [](const std::string& l, PlumeGenerator& g) { readVector(l, g.windDirection); }},
    {"Center ", [](const std::string& l, PlumeGenerator& g) { readVector(l, g.centre); }},
};

constexpr Keyword<RainGenerator> kRainKeywords[] = {
    {"Radius ", [](const std::string& l, RainGenerator& g) { scanFloats(l, g.radius); }},
    {"Top ", [](const std::string& l, RainGenerator& g) { scanFloats(l, g.top); }},
    {"Bottom ", [](const std::string& l, RainGenerator& g) { scanFloats(l, g.bottom); }},
    {"Speed ", [](const std::string& l, RainGenerator& g) { scanFloats(l, g.speed); }},
    {"WindDistortFactor ", [](const std::string& l, RainGenerator& g) { scanFloats(l, g.windDistort); }},
    {"WindDirection ", [](const std::string& l, RainGenerator& g) { readVector(l, g.windDirection); }},
};

constexpr Keyword<SphereGenerator> kSphereKeywords[] = {
    {"ScaleSpeed ", [](const std::string& l, SphereGenerator& g) { scanFloats(l, g.scaleSpeed); }},
    {"EnergySpeed ", [](const std::string& l, SphereGenerator& g) { scanFloats(l, g.energySpeed); }},
    {"Radius ", [](const std::string& l, SphereGenerator& g) { scanFloats(l, g.radius); }},
    {"SpeedFactor ", [](const std::string& l, SphereGenerator& g) { scanFloats(l, g.speedFactor); }},
    {"Speed ", [](const std::string& l, SphereGenerator& g) { scanFloats(l, g.speed); }},
    {"Center ", [](const std::string& l, SphereGenerator& g) { readVector(l, g.centre); }},
};

// Makes the kind (drawing its random defaults) and reads its lines up to the closing "}":
// the shared keywords first, then the kind's own; other lines are passed over.
template <class G, class Own>
std::unique_ptr<ParticleGenerator> readKind(ScriptReader& reader, std::istream& stream,
                                            std::span<const Keyword<Own>> own)
{
    auto generator = std::make_unique<G>();
    while (reader.next(stream)) {
        if (reader.contains("}"))
            break;
        if (!particles::readKeyword<ParticleGenerator>(reader.line, kCommonKeywords, *generator))
            particles::readKeyword<Own>(reader.line, own, *generator);
    }
    return generator;
}

struct GeneratorKind {
    const char* name;
    std::unique_ptr<ParticleGenerator> (*read)(ScriptReader& reader, std::istream& stream);
    // Without respawn the pool is filled once when the system is built.
    bool fillsOnce;
};

constexpr GeneratorKind kGeneratorKinds[] = {
    {"Bubble", [](ScriptReader& r, std::istream& s) { return readKind<BubbleGenerator, BubbleGenerator>(r, s, kBubbleKeywords); }, false},
    {"Fire", [](ScriptReader& r, std::istream& s) { return readKind<FireGenerator, PlumeGenerator>(r, s, kPlumeKeywords); }, false},
    {"Rain", [](ScriptReader& r, std::istream& s) { return readKind<RainGenerator, RainGenerator>(r, s, kRainKeywords); }, false},
    {"Smoke", [](ScriptReader& r, std::istream& s) { return readKind<SmokeGenerator, PlumeGenerator>(r, s, kPlumeKeywords); }, false},
    {"Sphere", [](ScriptReader& r, std::istream& s) { return readKind<SphereGenerator, SphereGenerator>(r, s, kSphereKeywords); }, true},
};

} // namespace

std::unique_ptr<ParticleGenerator> readParticleGenerator(ScriptReader& reader, std::istream& stream)
{
    bool typed = false;
    while (!typed && reader.next(stream))
        typed = reader.contains("Type");
    if (!typed) {
        particles::logRefusal(reader, "the generator block has no \"Type\" line");
        return nullptr;
    }
    const std::string kind = particles::quotedValue(reader.line);
    for (const GeneratorKind& entry : kGeneratorKinds) {
        if (kind != entry.name)
            continue;
        std::unique_ptr<ParticleGenerator> generator = entry.read(reader, stream);
        if (generator->respawn)
            generator->flags = ParticleGenerator::kEmit;
        else
            generator->flags = entry.fillsOnce ? ParticleGenerator::kFillAtStart : 0u;
        return generator;
    }
    particles::logRefusal(reader, "unknown generator type");
    particles::skipBlock(reader, stream);
    return nullptr;
}
