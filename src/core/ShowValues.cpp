#include "core/ShowValues.h"

#include "core/Random.h"

namespace show {
float startOffset = 0.0f;
bool clearColourBuffer = true;
int screenWidth = 640;
int screenHeight = 480;

ShowState ShowState::save() { return {show::startOffset, show::clearColourBuffer, show::randomState()}; }

void ShowState::restore() const
{
    show::startOffset = startOffset;
    show::clearColourBuffer = clearColourBuffer;
    show::setRandomState(randomState);
}

void ShowState::resetForStart(float offset)
{
    show::startOffset = offset;
    show::clearColourBuffer = true;
    show::resetRandom();
}

} // namespace show
