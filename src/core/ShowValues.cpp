#include "core/ShowValues.h"

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
} // namespace show
