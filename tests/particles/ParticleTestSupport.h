// Reading particle-system text in the tests, with a material library that holds "white".
#pragma once
#include "material/MaterialLibrary.h"
#include "particles/ParticleSystemReader.h"

#include <memory>
#include <sstream>
#include <string>

namespace ptest {

inline std::unique_ptr<ParticleSystem> read(const std::string& text)
{
    ScriptReader reader;
    std::istringstream in(text);
    return readParticleSystem(reader, in);
}

// A system block body: `head` lines, a generator of `kind` with `lines`, a Points renderer of
// the material "white", `tail` lines and the closing brace.
inline std::string systemText(const std::string& head, const std::string& kind,
                              const std::string& lines = "", const std::string& tail = "")
{
    return head + "Generator {\nType \"" + kind + "\"\n" + lines + "}\nRenderer {\n"
           "Type \"Points\"\nShader \"white\"\n}\n" + tail + "}\n";
}

// The library holds "white"; the test holds a second reference, as a show's other users would,
// so the material outlives the systems that release it.
struct Library {
    Library()
    {
        white = new Material("white");
        library.add(white);
        white->addRef();
    }
    // References held by particle renderers.
    int rendererReferences() const { return white->references() - 2; }
    MaterialLibrary library;
    Material* white;
};

} // namespace ptest
