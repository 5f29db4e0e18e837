#include "scenes/Vizidedar.h"

bool Vizidedar::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\vizidedar.shader", "UNABLE TO LOAD SHADERS 'vizidedar.shader'")
        && loadScene("data\\scr\\vizidedar.scene", "UNABLE TO LOAD SCENE 'vizidedar.scene'");
    });
}

void Vizidedar::update(float time)
{
    lastTime = time;
    scene.update(time);
}

void Vizidedar::render() { renderSceneGraph(); }
