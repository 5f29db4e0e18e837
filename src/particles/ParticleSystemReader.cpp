#include "particles/ParticleSystemReader.h"

#include "particles/ParticleScript.h"

#include <string>

namespace {

// What the system block has read so far; a refusal ends the block.
struct SystemRead {
    std::unique_ptr<ParticleSystem> system = std::make_unique<ParticleSystem>();
    int max = 0;
    const char* refusal = nullptr;
};

struct SystemKeyword {
    const char* text;
    void (*read)(ScriptReader& reader, std::istream& stream, SystemRead& read);
};

constexpr SystemKeyword kSystemKeywords[] = {
    {"Info", [](ScriptReader&, std::istream&, SystemRead&) {}},
    {"Name ", [](ScriptReader& r, std::istream&, SystemRead& s) { s.system->name = particles::quotedValue(r.line); }},
    {"Max ", [](ScriptReader& r, std::istream&, SystemRead& s) {
         scanInts(r.line, s.max);
         if (s.max <= 0)
             s.refusal = "the Max value must be a whole number of at least 1";
         else if (s.max > ParticleSystem::kParticleLimit)
             s.refusal = "the Max value is above the limit of 1048576 particles";
     }},
    {"SpawnRate ", [](ScriptReader& r, std::istream&, SystemRead& s) {
         scanFloats(r.line, s.system->spawnRate);
         if (s.system->spawnRate < 0.0f)
             s.refusal = "the SpawnRate value must not be negative";
     }},
    {"Generator {", [](ScriptReader& r, std::istream& stream, SystemRead& s) {
         s.system->generator = readParticleGenerator(r, stream);
         if (!s.system->generator) {
             s.refusal = "the generator block yields no generator";
         }
     }},
    {"Renderer {", [](ScriptReader& r, std::istream& stream, SystemRead& s) {
         s.system->renderer = readParticleRenderer(r, stream);
         if (!s.system->renderer) {
             s.refusal = "the renderer block yields no renderer";
         }
     }},
};

} // namespace

std::unique_ptr<ParticleSystem> readParticleSystem(ScriptReader& reader, std::istream& stream)
{
    SystemRead read;
    while (reader.next(stream)) {
        bool matched = false;
        for (const SystemKeyword& keyword : kSystemKeywords) {
            if (reader.contains(keyword.text)) {
                keyword.read(reader, stream, read);
                matched = true;
                break;
            }
        }
        if (!matched && operatorKeyword(reader.line)) {
            // An operator block that yields nothing is left out; the system reads on.
            if (auto op = readParticleOperator(reader, stream))
                read.system->operators.push_back(std::move(op));
            matched = true;
        }
        if (read.refusal) {
            particles::logRefusal(reader, read.refusal);
            // A sub-block that refused has read to its own end; the system's rest follows.
            particles::skipBlock(reader, stream);
            return nullptr;
        }
        if (!matched && reader.contains("}"))
            break;
    }
    read.system->finish(read.max);
    return std::move(read.system);
}
