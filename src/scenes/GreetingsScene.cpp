#include "scenes/GreetingsScene.h"

bool GreetingsScene::prepare()
{
    return prepareWith([&] {
        return loadShaders("data\\scr\\greetings.shader", "Unable to load shaders script", "SCRIPT ERROR")
        && findTexture("noise.jpg", noise, "UNABLE TO FIND 'noise generator'")
        && loadScene("data\\scr\\greetings.scene", "UNABLE TO LOAD SCENE 'greetings.scene'")
        && findMesh("./g_pipes.msh", pipes, "UNABLE TO LOAD OBJECT 'g_pipes.msh'")
        && findMesh("./dings.msh", dings, "UNABLE TO LOAD OBJECT 'dings.msh'");
    });
}

void GreetingsScene::update(float time) { scene.update(time); }

void GreetingsScene::render() { renderSceneGraph(); }
