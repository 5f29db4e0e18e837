#include "core/ShowValues.h"

#include "core/Random.h"

namespace show {
float startOffset = 0.0f;
bool clearColourBuffer = true;
int screenWidth = 640;
int screenHeight = 480;
SceneValues sceneValues;

void resetSceneValues()
{
    sceneValues = SceneValues{};
    clearColourBuffer = true;
}

ShowState ShowState::save()
{
    return {show::startOffset, show::clearColourBuffer, show::randomState(), show::sceneValues};
}

void ShowState::restore() const
{
    show::startOffset = startOffset;
    show::clearColourBuffer = clearColourBuffer;
    show::setRandomState(randomState);
    show::sceneValues = scenes;
}

void ShowState::resetForStart(float offset)
{
    show::startOffset = offset;
    show::resetSceneValues();
    show::resetRandom();
}

} // namespace show
