#include "scenes/GeometricWorld.h"

bool GeometricWorld::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\geometricworld.shader", "UNABLE TO LOAD SHADERS 'geometricworld.shader'")
        && loadTexture("fire-city.jpg", backdrop, "UNABLE TO LOAD BACKDROP 'fire-city'")
        && findTexture("noise.jpg", noise, "UNABLE TO FIND 'noise generator'")
        && loadScene("data\\scr\\geometricworld.scene", "UNABLE TO LOAD SCENE 'geometricworld.scene'");
    });
}

void GeometricWorld::update(float time) { scene.update(time); }

void GeometricWorld::render() { renderSceneGraph(); }
