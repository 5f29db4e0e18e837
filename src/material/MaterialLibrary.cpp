#include "material/MaterialLibrary.h"

#include "material/MaterialScriptReader.h"
#include "core/ExtensionRegistry.h"

#include <algorithm>

MaterialLibrary* MaterialLibrary::instance = nullptr;

MaterialLibrary::MaterialLibrary() { instance = this; }

MaterialLibrary::~MaterialLibrary()
{
    destroyAll();
    if (instance == this)
        instance = nullptr;
}

void MaterialLibrary::destroyAll()
{
    for (Material* material : list)
        delete material;
    list.clear();
    if (ext::gl_ATI_fragment_shader && ext::glDeleteFragmentShaderATI) {
        for (const auto& [name, id] : fragmentPrograms)
            ext::glDeleteFragmentShaderATI(id);
    }
    if (ext::gl_EXT_vertex_shader && ext::glDeleteVertexShaderEXT) {
        for (const auto& [name, id] : vertexPrograms)
            ext::glDeleteVertexShaderEXT(id);
    }
    fragmentPrograms.clear();
    vertexPrograms.clear();
}

bool MaterialLibrary::load(const std::string& path)
{
    MaterialScriptReader reader(*this);
    return reader.load(path);
}

Material* MaterialLibrary::find(const std::string& name)
{
    for (Material* material : list) {
        if (material->name == name) {
            material->addRef();
            return material;
        }
    }
    return nullptr;
}

bool MaterialLibrary::release(Material*& ref)
{
    if (!ref)
        return false;
    Material* material = ref;
    ref = nullptr;
    material->releaseRef();
    // Only the library's own reference left: give that one back too. This is the material that
    // was handed out, not merely the first of its name, so a duplicate name can't make another
    // material lose its reference.
    if (material->references() == 1) {
        const auto it = std::find(list.begin(), list.end(), material);
        if (it != list.end())
            dropLibraryReference(it);
    }
    return true;
}

bool MaterialLibrary::releaseByName(const std::string& name)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const Material* m) { return m->name == name; });
    if (it == list.end())
        return false;
    dropLibraryReference(it);
    return true;
}

void MaterialLibrary::dropLibraryReference(std::vector<Material*>::iterator it)
{
    Material* material = *it;
    material->releaseRef();
    if (material->references() <= 0) {
        list.erase(it);
        delete material;
    }
}

bool MaterialLibrary::add(Material* material)
{
    if (!material)
        return false;
    material->addRef();
    list.push_back(material);
    return true;
}

GLuint MaterialLibrary::lookup(const ProgramList& programs, const std::string& name)
{
    for (const auto& [programName, id] : programs) {
        if (programName == name)
            return id;
    }
    return 0;
}

GLuint MaterialLibrary::vertexProgram(const std::string& name) const
{
    return ext::gl_EXT_vertex_shader ? lookup(vertexPrograms, name) : 0;
}

GLuint MaterialLibrary::fragmentProgram(const std::string& name) const
{
    return ext::gl_ATI_fragment_shader ? lookup(fragmentPrograms, name) : 0;
}
