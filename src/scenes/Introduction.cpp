#include "scenes/Introduction.h"

bool Introduction::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\intro.shader", "UNABLE TO LOAD SHADERS 'intro.shader'")
        && loadScene("data\\scr\\intro_boks.scene", "UNABLE TO LOAD SCENE 'intro_boks.scene'")
        && findMesh("./blob.msh", blob, "UNABLE TO LOAD OBJECT 'blob.msh'")
        && findMesh("./blob2.msh", blob2, "UNABLE TO LOAD OBJECT 'blob2.msh'")
        && findMesh("./bitehead-anim-001.msh", headFrom, "UNABLE TO LOAD OBJECT 'bitehead-anim-001.msh'")
        && loadMesh("./bitehead-anim-002.msh", headTo, "UNABLE TO LOAD OBJECT 'bitehead-anim-002.msh'")
        && loadMesh("./boid.msh", boid, "UNABLE TO LOAD OBJECT 'boid.msh'");
    });
}

void Introduction::update(float time) { scene.update(time); }

void Introduction::render() { renderSceneGraph(); }
