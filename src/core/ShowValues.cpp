#include "core/ShowValues.h"

namespace show {
float startOffset = 0.0f;
bool clearColourBuffer = true;
int screenWidth = 640;
int screenHeight = 480;
} // namespace show
