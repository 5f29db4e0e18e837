#include "scenes/WaterSimulation.h"

bool WaterSimulation::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\watersimulation.shader", "UNABLE TO LOAD SHADERS 'watersimulation.shader'")
        && loadScene("data\\scr\\watersimulation.scene", "UNABLE TO LOAD SCENE 'watersimulation.scene'")
        && findMaterial("WaterShader", waterShader, "UNABLE TO FIND SHADER 'WaterShader'")
        && findMesh("./pstar.msh", star, "UNABLE TO LOAD OBJECT 'pstar.msh'");
    });
}

void WaterSimulation::update(float time) { scene.update(time); }

void WaterSimulation::render() { renderSceneGraph(); }
