// The one owner of every material: counted lookups by name, the vertex and fragment program
// lists, and loading of ".shader" scripts.
#pragma once
#include "material/Material.h"
#include "core/GL.h"

#include <string>
#include <utility>
#include <vector>

class MaterialLibrary {
public:
    // The program-wide library: set by the constructor, cleared by the destructor.
    static MaterialLibrary* instance;

    MaterialLibrary();
    // Destroys every material, then deletes the registered programs (where the extension is
    // there to do it).
    ~MaterialLibrary();

    // Destroys every material and deletes the registered programs (shutdown, while the GL
    // context still exists).
    void destroyAll();

    MaterialLibrary(const MaterialLibrary&) = delete;
    MaterialLibrary& operator=(const MaterialLibrary&) = delete;

    // Reads a ".shader" script ("data\scr\generic.shader") into this library: its materials
    // and the textures of its Image blocks. False when an Image block failed without a message;
    // script errors and a missing file throw ImageScriptException.
    bool load(const std::string& path);

    // The first material named exactly `name`, with one new reference; none when absent.
    Material* find(const std::string& name);
    // Gives back one reference and clears `ref`; a material left with only the library's
    // reference is removed and destroyed. False when `ref` was empty.
    bool release(Material*& ref);
    // The first material named `name` loses one reference; at zero it is removed and destroyed.
    // False when none has that name.
    bool releaseByName(const std::string& name);
    // Takes one reference and appends (names are not checked for duplicates: find returns the
    // earliest). False for null.
    bool add(Material* material);

    // The GL id registered under `name`; 0 when none is or the extension is missing.
    GLuint vertexProgram(const std::string& name) const;
    GLuint fragmentProgram(const std::string& name) const;
    // Registers a program id under a name (nothing in the show does; tools may).
    void addVertexProgram(const std::string& name, GLuint id) { vertexPrograms.emplace_back(name, id); }
    void addFragmentProgram(const std::string& name, GLuint id) { fragmentPrograms.emplace_back(name, id); }

    const std::vector<Material*>& materials() const { return list; }

private:
    using ProgramList = std::vector<std::pair<std::string, GLuint>>;
    static GLuint lookup(const ProgramList& programs, const std::string& name);
    // One reference less on the listed material; at zero it is removed and destroyed.
    void dropLibraryReference(std::vector<Material*>::iterator it);

    std::vector<Material*> list;
    ProgramList vertexPrograms;
    ProgramList fragmentPrograms;
};
