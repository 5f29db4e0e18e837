// Feeds arbitrary text to the particle-system reader and steps a system it returns once: every
// outcome must be a system or none, never a crash, a hang or an unbounded allocation. The library holds the material "white".
#include "material/MaterialLibrary.h"
#include "particles/ParticleSystemReader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MaterialLibrary* library = [] {
        auto* l = new MaterialLibrary;
        auto* white = new Material("white");
        l->add(white);
        white->addRef();
        return l;
    }();
    (void)library;
    ScriptReader reader;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    auto system = readParticleSystem(reader, in);
    if (system) {
        system->update(0.05f);
    }
    return 0;
}
