#include "effects/MeshEffect.h"

#include "animation/Animator.h"
#include "effects/CameraView.h"
#include "geometry/Mesh.h"
#include "geometry/MeshManager.h"
#include "scenegraph/MeshNode.h"

bool MeshEffect::release()
{
    Effect::release();
    mesh = nullptr;
    return true;
}

void MeshEffect::update(float time)
{
    if (animator)
        animator->update(time);
}

void MeshEffect::render()
{
    const CameraView view;
    if (animator)
        animator->apply();
    drawMeshWithMaterials(mesh);
    if (animator)
        animator->unapply();
}

bool MeshEffect::save(std::ostream& stream)
{
    return saveBlock(
        stream, "Mesh", [&] { stream << "\tMesh \"" << (mesh ? mesh->name : std::string()) << "\"\n"; },
        true);
}

namespace {

using Kind = EffectKind<MeshEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"Mesh ", [](ScriptReader& r, std::istream&, MeshEffect& e) {
         e.mesh = nullptr;
         if (MeshManager* meshes = MeshManager::instance) {
             const std::string name = r.quotedText();
             e.mesh = meshes->find(name);
             if (!e.mesh)
                 e.mesh = meshes->load(name, 0);
         }
         return true;
     }},
};

} // namespace

std::unique_ptr<EffectType> makeMeshEffectType()
{
    return std::make_unique<Kind>("Mesh", kKeywords, "MeshEffect unknown token");
}
