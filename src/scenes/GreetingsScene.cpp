#include "scenes/GreetingsScene.h"

#include "core/FixedSteps.h"
#include "core/GL.h"
#include "core/PBuffer.h"
#include "core/ShowValues.h"
#include "font/ConsoleFont.h"
#include "scenes/GreetingsText.h"
#include "scenes/ScreenPasses.h"
#include "texture/Texture.h"

#include <cmath>
#include <numbers>

static_assert(greetings::kTextLines == GreetingsScroll::kLines, "one text line per scroll line");

bool GreetingsScene::prepare()
{
    const bool loaded = prepareWith([&] {
        return loadShaders("data\\scr\\greetings.shader", "Unable to load shaders script", "SCRIPT ERROR")
        && findTexture("noise.jpg", noise, "UNABLE TO FIND 'noise generator'")
        && loadScene("data\\scr\\greetings.scene", "UNABLE TO LOAD SCENE 'greetings.scene'")
        && findMesh("./g_pipes.msh", pipes, "UNABLE TO LOAD OBJECT 'g_pipes.msh'")
        && findMesh("./dings.msh", dings, "UNABLE TO LOAD OBJECT 'dings.msh'");
    });
    if (!loaded)
        return false;
    pipesShape.take(pipes);
    dingsShape.take(dings);
    twist.setup({60.0f, 48.0f, 60.0f}, {}, deformaxis::kY, 7);
    twist.centre = {};
    grid.build(24, true);
    return true;
}

bool GreetingsScene::release()
{
    const bool released = DemoScene::release();
    pipesShape.clear();
    dingsShape.clear();
    return released;
}

void GreetingsScene::twistMeshes(float t)
{
    constexpr float pi = std::numbers::pi_v<float>;
    twist.length = {60.0f, 48.0f, 60.0f};
    twist.axes = deformaxis::kY;
    twist.setAngles({0.0f, pi * std::cos(t), 0.0f});
    twist.applyToVertices(pipesShape.vertices(), vertexSpan(*pipes));
    refreshShape(*pipes);

    // The ornament turns three times over: about y from the copy, then z and x in place.
    twist.length = {4.0f, 4.0f, 4.0f};
    twist.setAngles({0.0f, 2.0f * pi * std::cos(1.34f * t), 0.0f});
    twist.applyToVertices(dingsShape.vertices(), vertexSpan(*dings));
    twist.axes = deformaxis::kZ;
    twist.setAngles({0.0f, 0.0f, 4.0f * pi * std::cos(1.005f * t)});
    twist.applyToVertices(vertexSpan(*dings), vertexSpan(*dings));
    twist.axes = deformaxis::kX;
    twist.setAngles({pi * std::cos(0.44f * t), 0.0f, 0.0f});
    twist.applyToVertices(vertexSpan(*dings), vertexSpan(*dings));
    refreshShape(*dings);
}

void GreetingsScene::update(float t)
{
    scroll.advance(t);
    lastTime = t;
    if (!ready())
        return;
    twistMeshes(t);
    scene.update(greetingsAnimationTime(t));
}

void GreetingsScene::catchUp(float time, float step)
{
    DemoScene::catchUp(time, step);
    show::SceneValues& values = show::sceneValues;
    forEachStep(start, time, step, [&](float t) {
        scroll.advance(t);
        lastTime = t;
        moveGrain(values.greetingsNoiseU, values.greetingsNoiseV);
    });
}

void GreetingsScene::drawText() const
{
    ConsoleFont* font = ConsoleFont::instance;
    if (!font)
        return;
    font->begin2D();
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int line = scroll.lastLine(); line >= scroll.firstLine(); --line)
        font->print(kTextX, float(scroll.lineY(line)), greetings::kText[line]);
    font->end2D();
}

void GreetingsScene::renderThroughTarget(float t, const Grain& grain)
{
    PBuffer& target = *PBuffer::instance;
    pass.begin(target, true);
    renderSceneGraph();
    drawText();
    pass.end(target);

    // The undistorted picture over the swirling one, fading in and out, the grain over both.
    drawThroughGrid(grid, target, (std::sin(1.14f * t) + 1.0f) * 0.5f, &grain);
}

void GreetingsScene::render()
{
    if (!ready())
        return;
    const float t = lastTime;
    const Grain grain = stepGrain(*noise, t, show::sceneValues.greetingsNoiseU, show::sceneValues.greetingsNoiseV);
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
    if (PBuffer::instance && PBuffer::instance->created()) {
        renderThroughTarget(t, grain);
    } else {
        // Without a render target: the scene and the text straight on the screen.
        renderSceneGraph();
        drawText();
        drawGrain(grain);
    }
    glPopAttrib();
}
