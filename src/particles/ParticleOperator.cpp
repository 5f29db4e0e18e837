#include "particles/ParticleOperator.h"

#include "particles/ParticleScript.h"

using particles::Keyword;

namespace {

void readVector(const std::string& line, Vector3& v) { scanFloats(line, v.x, v.y, v.z); }

constexpr Keyword<Force> kForceKeywords[] = {
    {"Direction ", [](const std::string& l, Force& o) { readVector(l, o.direction); }},
    {"Strength ", [](const std::string& l, Force& o) { scanFloats(l, o.strength); }},
};

constexpr Keyword<RadialForce> kRadialForceKeywords[] = {
    {"Center ", [](const std::string& l, RadialForce& o) { readVector(l, o.centre); }},
    {"Radius ", [](const std::string& l, RadialForce& o) { scanFloats(l, o.radius); }},
    {"Strength ", [](const std::string& l, RadialForce& o) { scanFloats(l, o.strength); }},
};

constexpr Keyword<ReflectionPlane> kReflectionPlaneKeywords[] = {
    {"Position ", [](const std::string& l, ReflectionPlane& o) { readVector(l, o.position); }},
    {"Normal ", [](const std::string& l, ReflectionPlane& o) { readVector(l, o.normal); }},
    {"Bounciness ", [](const std::string& l, ReflectionPlane& o) { scanFloats(l, o.bounciness); }},
};

constexpr Keyword<ReflectionSphere> kReflectionSphereKeywords[] = {
    {"Position ", [](const std::string& l, ReflectionSphere& o) { readVector(l, o.position); }},
    {"Radius ", [](const std::string& l, ReflectionSphere& o) { scanFloats(l, o.radius); }},
    {"Bounciness ", [](const std::string& l, ReflectionSphere& o) { scanFloats(l, o.bounciness); }},
};

// Reads a block's lines up to its "}" through the kind's keywords; none at the first line that
// matches no keyword (the rest of the block is passed over).
template <class Kind>
std::unique_ptr<Kind> readBlock(ScriptReader& reader, std::istream& stream,
                                std::span<const Keyword<Kind>> keywords)
{
    auto op = std::make_unique<Kind>();
    while (reader.next(stream)) {
        if (reader.contains("}"))
            return op;
        if (!particles::readKeyword<Kind>(reader.line, keywords, *op)) {
            particles::logRefusal(reader, "no keyword of the operator block takes this line");
            particles::skipBlock(reader, stream);
            return nullptr;
        }
    }
    return op;
}

struct OperatorKindEntry {
    const char* keyword;
    std::unique_ptr<ParticleOperator> (*read)(ScriptReader& reader, std::istream& stream);
};

constexpr OperatorKindEntry kOperatorKinds[] = {
    {"RadialForce {", [](ScriptReader& r, std::istream& s) -> std::unique_ptr<ParticleOperator> {
         return readBlock<RadialForce>(r, s, kRadialForceKeywords);
     }},
    {"Force {", [](ScriptReader& r, std::istream& s) -> std::unique_ptr<ParticleOperator> {
         auto op = readBlock<Force>(r, s, kForceKeywords);
         if (op)
             op->direction.normalize();
         return op;
     }},
    {"ForceToVelocity", [](ScriptReader&, std::istream&) -> std::unique_ptr<ParticleOperator> {
         return std::make_unique<ForceToVelocity>();
     }},
    {"ReflectionPlane {", [](ScriptReader& r, std::istream& s) -> std::unique_ptr<ParticleOperator> {
         auto op = readBlock<ReflectionPlane>(r, s, kReflectionPlaneKeywords);
         if (op)
             op->normal.normalize();
         return op;
     }},
    {"ReflectionSphere {", [](ScriptReader& r, std::istream& s) -> std::unique_ptr<ParticleOperator> {
         return readBlock<ReflectionSphere>(r, s, kReflectionSphereKeywords);
     }},
};

const OperatorKindEntry* findKind(const std::string& line)
{
    for (const OperatorKindEntry& entry : kOperatorKinds) {
        if (ScriptReader::contains(line, entry.keyword))
            return &entry;
    }
    return nullptr;
}

} // namespace

const char* operatorKeyword(const std::string& line)
{
    const OperatorKindEntry* entry = findKind(line);
    return entry ? entry->keyword : nullptr;
}

std::unique_ptr<ParticleOperator> readParticleOperator(ScriptReader& reader, std::istream& stream)
{
    const OperatorKindEntry* entry = findKind(reader.line);
    return entry ? entry->read(reader, stream) : nullptr;
}
