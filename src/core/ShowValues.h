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

// Every program-wide value a show changes as it plays (the values above and the random
// generator), saved as one record: a reload resets them as a fresh start does and puts them
// back when the reload fails. Program-wide states that scenes keep belong here too.
struct ShowState {
    float startOffset = 0.0f;
    bool clearColourBuffer = true;
    unsigned randomState = 1;

    static ShowState save();
    void restore() const;
    // The state of a fresh start at `startOffset`.
    static void resetForStart(float startOffset);
};

} // namespace show
