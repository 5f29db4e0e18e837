#include "effects/HeldMaterial.h"

#include "material/MaterialLibrary.h"
#include "script/ProblemSink.h"

void HeldMaterial::find(const std::string& name)
{
    MaterialLibrary* library = MaterialLibrary::instance;
    Material* found = library ? library->find(name) : nullptr;
    if (!found)
        problems::reportHere(name.empty() ? std::string("this line names no material in double quotes")
                                          : "no script defines the material " + problems::quoted(name));
    release();
    material_ = found;
}

void HeldMaterial::release()
{
    if (!material_)
        return;
    if (MaterialLibrary::instance)
        MaterialLibrary::instance->release(material_);
    else
        material_ = nullptr;  // the library is gone and destroyed its materials with it
}

void HeldMaterial::bind() const
{
    if (material_)
        material_->bind();
}

void HeldMaterial::unbind() const
{
    if (material_)
        material_->unbind();
}
