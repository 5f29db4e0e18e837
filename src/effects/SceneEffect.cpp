#include "effects/SceneEffect.h"

#include "core/GL.h"
#include "effects/CameraView.h"
#include "platform/Paths.h"

bool SceneEffect::release()
{
    Effect::release();
    scene.release();
    return true;
}

void SceneEffect::update(float time) { scene.update(time); }

void SceneEffect::catchUp(float time, float step) { scene.catchUp(start, time, step); }

void SceneEffect::render()
{
    if (!scene.root())
        return;
    // The scene's lights only light anything with lighting on; materials that turn lighting
    // off still draw unlit.
    const bool lit = scene.hasActiveLight();
    const bool wasLit = glIsEnabled(GL_LIGHTING);
    if (lit)
        glEnable(GL_LIGHTING);
    {
        const CameraView view;
        if (view.camera())
            scene.draw(view.camera());
    }
    // The lights go off and their slots back, so what draws next is lit only by its own.
    scene.disableLights();
    if (lit && !wasLit)
        glDisable(GL_LIGHTING);
}

namespace {

using Kind = EffectKind<SceneEffect>;

constexpr Kind::Keyword kKeywords[] = {
    {"Scene", [](ScriptReader& r, std::istream&, SceneEffect& e) {
         const std::string file = r.quotedText();
         std::unique_ptr<SceneNode> root = Scene::load(file);
         if (!root) {
             r.refusal = platform::fileExists(file) ? "the scene file " + file + " holds no node block that loads"
                                                   : "the scene file " + file + " does not exist";
             return false;
         }
         e.scene.setRoot(std::move(root));
         return true;
     }},
};

} // namespace

std::unique_ptr<EffectType> makeSceneEffectType()
{
    return std::make_unique<Kind>("Scene", kKeywords);
}
