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

// State the scenes keep across frames and across their own windows. A reload of the show calls
// resetSceneValues so a replay starts as a fresh start would.
struct SceneValues {
    // The head blend of the opening scene: weight in 0..1 and its speed (units per second,
    // turned round at either end).
    float morphWeight = 0.0f;
    float morphSpeed = 0.30003002f;
    // Scroll offsets of the grain picture laid over the geometric world and the closing scene.
    float geometricNoiseU = 0.0f, geometricNoiseV = 0.0f;
    float greetingsNoiseU = 0.0f, greetingsNoiseV = 0.0f;
};
extern SceneValues sceneValues;
// Every scene value back to its start, and the colour buffer cleared every frame again.
void resetSceneValues();

// Every program-wide value a show changes as it plays (the values above, the scenes' values and
// the random generator), saved as one record: a reload resets them as a fresh start does and
// puts them back when the reload fails.
struct ShowState {
    float startOffset = 0.0f;
    bool clearColourBuffer = true;
    unsigned randomState = 1;
    SceneValues scenes;

    static ShowState save();
    void restore() const;
    // The state of a fresh start at `startOffset`.
    static void resetForStart(float startOffset);
};

} // namespace show
