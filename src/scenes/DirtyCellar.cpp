#include "scenes/DirtyCellar.h"

bool DirtyCellar::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\dirtycellar.shader", "Unable to load shaders script", "SCRIPT ERROR")
        && loadScene("data\\scr\\dirtycellar.scene", "UNABLE TO LOAD SCENE")
        && findMesh("./ting3.msh", object, "UNABLE TO LOAD OBJECT 'ting3.msh'");
    });
}

void DirtyCellar::update(float time) { scene.update(time); }

void DirtyCellar::render() { renderSceneGraph(); }
