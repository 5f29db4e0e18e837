#include "scenes/TunnelScene.h"

#include "effects/EffectLoader.h"

bool TunnelScene::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\tunnelscene.shader", "UNABLE TO LOAD SHADERS 'tunnelscene.shader'")
        && loadEffects("data\\scr\\tunnelscene.effect")
        && loadScene("data\\scr\\tunnelscene.scene", "UNABLE TO LOAD SCENE 'tunnelscene.scene'")
        && findMaterial("vol_light", volumeLight, "UNABLE TO FIND SHADER 'vol_light'")
        && findOrLoadMesh("volting.msh", lightMesh, "UNABLE TO LOAD OBJECT 'volting.msh'")
        && findMaterial("TunnelMetaballs", tunnelMetaballs, "UNABLE TO FIND SHADER 'TunnelMetaballs'");
    });
}

void TunnelScene::update(float time) { scene.update(time); }

void TunnelScene::render() { renderSceneGraph(); }

bool TunnelScene::loadEffects(const std::string& path)
{
    EffectLoader loader;
    return loader.load(path) || fail("UNABLE TO LOAD EFFECTS 'tunnelscene.effect'");
}
