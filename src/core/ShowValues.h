// Program-wide show values shared by the driver and the scenes.
#pragma once

namespace show {

// Seconds added to the clock; scenes ending before it are not built, the music starts there.
extern float startOffset;
// When false a frame clears only depth and stencil (a scene keeps the previous picture).
extern bool clearColourBuffer;
// The window's client size as the last resize reported it.
extern int screenWidth;
extern int screenHeight;

} // namespace show
